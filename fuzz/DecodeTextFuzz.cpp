#include "FuzzSupport.h"
#include "market/ReplyText.h"
#include "model/TextFormat.h"

#include <string>

using namespace glimmer;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string body(fuzz::bytes(data, size));
    const auto text = ReplyText::decode(body);
    if (text) {
        fuzz::expect(!text->empty(), "a decoded body is never empty");
        fuzz::expect(TextFormat::isValidUtf8(*text), "a decoded body is UTF-8");
        if (TextFormat::isValidUtf8(body)) fuzz::expect(*text == body, "a UTF-8 body passes unchanged");
    }
    if (const auto value = ReplyText::number(fuzz::bytes(data, size))) {
        fuzz::expectFinite(*value, "a field number is finite");
    }
    return 0;
}
