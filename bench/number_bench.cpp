// Micro-benchmarks of the two number conversions the converter spends its own time on:
// reading a cell and printing a value with three decimals, beside the library calls they
// stand in for, and of reading a row's cells in one pass or cell by cell. Built when Google Benchmark is installed; run build-bench/bench/number_bench.
#include <benchmark/benchmark.h>

#include <charconv>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "csv2pnp/fixed_three.h"
#include "table/cell_value.h"

namespace {

std::vector<std::string> sampleCells() {
    std::vector<std::string> cells;
    for (int i = 0; i < 1000; ++i) {
        char text[32];
        std::snprintf(text, sizeof text, i % 3 == 0 ? "%.6g" : "%.2f",
                      i % 3 == 0 ? 0.1 * (i + 1) * (i + 1) : -60.0 - i * 0.13);
        cells.emplace_back(text);
    }
    return cells;
}

std::vector<double> sampleValues() {
    std::vector<double> values;
    for (const std::string& cell : sampleCells())
        values.push_back(csv2pnp::cellValue(cell) + (values.size() % 2 ? 0 : 1e7));
    return values;
}

void cellValueOfCells(benchmark::State& state) {
    std::vector<std::string> cells = sampleCells();
    for (auto _ : state) {
        for (const std::string& cell : cells) benchmark::DoNotOptimize(csv2pnp::cellValue(cell));
    }
    state.SetItemsProcessed(state.iterations() * static_cast<long>(cells.size()));
}

void fromCharsOfCells(benchmark::State& state) {
    std::vector<std::string> cells = sampleCells();
    for (auto _ : state) {
        for (const std::string& cell : cells) {
            double value = 0;
            std::from_chars(cell.data(), cell.data() + cell.size(), value);
            benchmark::DoNotOptimize(value);
        }
    }
    state.SetItemsProcessed(state.iterations() * static_cast<long>(cells.size()));
}

// Rows of an export: an offset, a level and a floor.
std::vector<std::string> sampleRows() {
    std::vector<std::string> rows;
    for (int i = 0; i < 1000; ++i) {
        char text[64];
        std::snprintf(text, sizeof text, "%.6g,%.2f,%.2f", 0.1 * (i + 1) * (i + 1), -60.0 - i * 0.13, -75.0 - i * 0.13);
        rows.emplace_back(text);
    }
    return rows;
}

void nextCellValuesOfRows(benchmark::State& state) {
    std::vector<std::string> rows = sampleRows();
    for (auto _ : state) {
        for (const std::string& row : rows) {
            csv2pnp::CellCursor cells = csv2pnp::cellsOf(csv2pnp::MeasurementRow{row});
            double values[3];
            benchmark::DoNotOptimize(csv2pnp::nextCellValues(cells, values, 3));
            benchmark::DoNotOptimize(values);
        }
    }
    state.SetItemsProcessed(state.iterations() * static_cast<long>(rows.size()));
}

void nextCellThenCellValueOfRows(benchmark::State& state) {
    std::vector<std::string> rows = sampleRows();
    for (auto _ : state) {
        for (const std::string& row : rows) {
            csv2pnp::CellCursor cells = csv2pnp::cellsOf(csv2pnp::MeasurementRow{row});
            while (std::optional<std::string_view> cell = csv2pnp::nextCell(cells)) {
                benchmark::DoNotOptimize(csv2pnp::cellValue(*cell));
            }
        }
    }
    state.SetItemsProcessed(state.iterations() * static_cast<long>(rows.size()));
}

template <typename Print>
void printValues(benchmark::State& state, Print print) {
    std::vector<double> values = sampleValues();
    char text[csv2pnp::fixedThreeMaxLength + 8];
    for (auto _ : state) {
        for (double value : values) benchmark::DoNotOptimize(print(text, value));
    }
    state.SetItemsProcessed(state.iterations() * static_cast<long>(values.size()));
}

void toFixedThree(benchmark::State& state) {
    printValues(state, [](char* text, double v) {
        return csv2pnp::toFixedThree(text, text + csv2pnp::fixedThreeMaxLength, v);
    });
}

void toCharsFixedThree(benchmark::State& state) {
    printValues(state, [](char* text, double v) {
        return std::to_chars(text, text + csv2pnp::fixedThreeMaxLength, v, std::chars_format::fixed, 3).ptr;
    });
}

void snprintfFixedThree(benchmark::State& state) {
    printValues(state,
                [](char* text, double v) { return std::snprintf(text, csv2pnp::fixedThreeMaxLength, "%.3f", v); });
}

}  // namespace

BENCHMARK(cellValueOfCells);
BENCHMARK(fromCharsOfCells);
BENCHMARK(nextCellValuesOfRows);
BENCHMARK(nextCellThenCellValueOfRows);
BENCHMARK(toFixedThree);
BENCHMARK(toCharsFixedThree);
BENCHMARK(snprintfFixedThree);
BENCHMARK_MAIN();
