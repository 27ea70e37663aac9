// Values per second written and read by the per-value fast paths, on a 200 x 200 x 200 grid of
// density-like values laid out as a cube file (third index fastest, six per line, each run of
// the third index starting a new line). The gfortran program in gfortran/ does the same work
// with the same formats; compare_fields.sh runs both.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "gridio/fast_fields.hpp"
#include "gridio/format.hpp"
#include "gridio/line_reader.hpp"
#include "gridio/text_output.hpp"

namespace {

constexpr int kN = 200;

// Same formula as gfortran/fields_baseline.f90: two exponential centres, every fourth point negative.
const std::vector<double>& grid_values() {
  static const std::vector<double> values = [] {
    std::vector<double> v;
    v.reserve(static_cast<std::size_t>(kN) * kN * kN);
    for (int i = 1; i <= kN; ++i)
      for (int j = 1; j <= kN; ++j)
        for (int k = 1; k <= kN; ++k) {
          const double x = -6.0 + 12.0 * (i - 1) / (kN - 1), y = -6.0 + 12.0 * (j - 1) / (kN - 1),
                       z = -6.0 + 12.0 * (k - 1) / (kN - 1);
          const double r1 = std::sqrt((x - 1) * (x - 1) + y * y + z * z);
          const double r2 = std::sqrt((x + 1) * (x + 1) + y * y + z * z);
          double f = std::exp(-2.0 * r1) + 0.5 * std::exp(-3.0 * r2);
          if ((i + j + k) % 4 == 0) f = -f;
          v.push_back(f);
        }
    return v;
  }();
  return values;
}

// Writes the values in runs of kN, `per_line` fields of `width` columns per line.
template <int Width>
std::size_t write_runs(char* out, const std::vector<double>& v, int per_line,
                       char* (*put)(char*, double)) {
  char* p = out;
  for (std::size_t run = 0; run < v.size(); run += kN) {
    for (int k = 0; k < kN; ++k) {
      p = put(p, v[run + static_cast<std::size_t>(k)]);
      if ((k + 1) % per_line == 0 || k + 1 == kN) *p++ = '\n';
    }
  }
  return static_cast<std::size_t>(p - out);
}

std::string rendered(int width, int per_line, char* (*put)(char*, double)) {
  const auto& v = grid_values();
  std::string text(v.size() * (static_cast<std::size_t>(width) + 1), '\0');
  const std::size_t n = width == 13 ? write_runs<13>(text.data(), v, per_line, put)
                                    : write_runs<18>(text.data(), v, per_line, put);
  text.resize(n);
  return text;
}

void write_bench(benchmark::State& state, int width, int per_line, char* (*put)(char*, double)) {
  const auto& v = grid_values();
  std::vector<char> buf(v.size() * (static_cast<std::size_t>(width) + 1));
  for (auto _ : state) {
    const std::size_t n = width == 13 ? write_runs<13>(buf.data(), v, per_line, put)
                                      : write_runs<18>(buf.data(), v, per_line, put);
    benchmark::DoNotOptimize(buf.data());
    benchmark::DoNotOptimize(n);
  }
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(v.size()));
}

// Reads every line's fields of `width` columns with parse_real_field.
std::size_t read_lines(std::string_view text, int width, int d, double* out) {
  std::size_t n = 0, at = 0;
  while (at < text.size()) {
    std::size_t end = text.find('\n', at);
    if (end == std::string_view::npos) end = text.size();
    for (std::size_t f = at; f + static_cast<std::size_t>(width) <= end; f += static_cast<std::size_t>(width))
      if (!qv::parse_real_field(text.substr(f, static_cast<std::size_t>(width)), d, out[n++])) std::abort();
    at = end + 1;
  }
  return n;
}

void read_bench(benchmark::State& state, int width, int d, int per_line, char* (*put)(char*, double)) {
  const std::string text = rendered(width, per_line, put);
  std::vector<double> out(grid_values().size());
  for (auto _ : state) {
    benchmark::DoNotOptimize(read_lines(text, width, d, out.data()));
  }
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(out.size()));
}

void BM_WriteES13_5(benchmark::State& s) { write_bench(s, 13, 6, qv::put_es13_5); }
void BM_ReadE13_5(benchmark::State& s) { read_bench(s, 13, 5, 6, qv::put_es13_5); }
void BM_WriteE18_10(benchmark::State& s) { write_bench(s, 18, 5, qv::put_e18_10); }
void BM_ReadE18_10(benchmark::State& s) { read_bench(s, 18, 10, 5, qv::put_e18_10); }

// Blank-separated scanning of the cube text, as a free-form reader does it.
void BM_ScanNumber(benchmark::State& state) {
  const std::string text = rendered(13, 6, qv::put_es13_5);
  std::vector<double> out(grid_values().size());
  for (auto _ : state) {
    const char* p = text.data();
    const char* end = p + text.size();
    std::size_t n = 0;
    while (qv::scan_number(p, end, out[n])) ++n;
    if (n != out.size()) std::abort();
    benchmark::DoNotOptimize(out.data());
  }
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(out.size()));
}

// The whole path through files: TextOutput to a cube-layout file, LineReader back from it.
const char* kFile = "/tmp/qv_fields_bench.txt";

void BM_WriteES13_5_File(benchmark::State& state) {
  const auto& v = grid_values();
  for (auto _ : state) {
    auto out = qv::TextOutput::create(kFile);
    for (std::size_t run = 0; run < v.size(); run += kN) {
      for (int k = 0; k < kN; k += 6) {
        const int m = std::min(6, kN - k);
        char* p = out->reserve(6 * 13 + 1);
        char* q = p;
        for (int i = 0; i < m; ++i) q = qv::put_es13_5(q, v[run + static_cast<std::size_t>(k + i)]);
        *q++ = '\n';
        out->commit(static_cast<std::size_t>(q - p));
      }
    }
    out->close();
  }
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(v.size()));
}

void BM_ReadE13_5_File(benchmark::State& state) {
  {
    const std::string text = rendered(13, 6, qv::put_es13_5);
    auto out = qv::TextOutput::create(kFile);
    out->write(text);
    out->close();
  }
  std::vector<double> values(grid_values().size());
  for (auto _ : state) {
    auto in = qv::LineReader::open(kFile);
    std::string_view line;
    std::size_t n = 0;
    while (in->next(line)) {
      for (std::size_t f = 0; f + 13 <= line.size(); f += 13)
        if (!qv::parse_real_field(line.substr(f, 13), 5, values[n++])) std::abort();
    }
    if (n != values.size()) std::abort();
  }
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(values.size()));
}

// The general format engine on the same layout, for comparison (a slice of the grid).
void BM_EngineWriteES13_5(benchmark::State& state) {
  const auto& v = grid_values();
  const qv::Format fmt("(6ES13.5)");
  std::vector<qv::OutItem> items(v.begin(), v.begin() + kN);
  for (auto _ : state) benchmark::DoNotOptimize(fmt.write(items));
  state.SetItemsProcessed(state.iterations() * kN);
}

}  // namespace

BENCHMARK(BM_WriteES13_5)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadE13_5)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WriteE18_10)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadE18_10)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ScanNumber)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WriteES13_5_File)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadE13_5_File)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EngineWriteES13_5)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
