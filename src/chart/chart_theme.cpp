#include "chart/chart_theme.h"

namespace csv2pnp {

const ChartTheme& lightTheme() {
    static const ChartTheme theme{
        "#ffffff", "#000000", "#555555",
        "#b0b0b0", "#e4e4e4", "#404040",
        "#000000", 0.07,      {"#0072B2", "#D55E00", "#009E73", "#CC79A7", "#E69F00", "#56B4E9", "#000000"},
        "#B3003C"};
    return theme;
}

const ChartTheme& darkTheme() {
    static const ChartTheme theme{
        "#15181c", "#e6e6e6", "#a0a6ad",
        "#41474e", "#2a2f35", "#8a9099",
        "#ffffff", 0.09,      {"#56B4E9", "#E69F00", "#2FD3A0", "#F28CC4", "#F0E442", "#FF8A5B", "#C9C9FF"},
        "#FF5C7A"};
    return theme;
}

}  // namespace csv2pnp
