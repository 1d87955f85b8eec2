#include "model/ChartView.h"

namespace glimmer::ChartViews {

const char* label(ChartView view) {
    for (const Row& row : table)
        if (row.view == view) return row.label;
    return "";
}

std::optional<ChartView> fromStored(long long number) {
    for (const Row& row : table)
        if (stored(row.view) == number) return row.view;
    return std::nullopt;
}

} // namespace glimmer::ChartViews
