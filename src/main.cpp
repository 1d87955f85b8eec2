#include "app/EntryPoint.h"

int main(int argc, char** argv) {
    return glimmer::runEntryPoint(argc, argv);
}
