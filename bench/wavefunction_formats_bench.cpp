// What the wavefunction formats and function types cost, on one thread:
// - the sweep of all four properties on 80 x 80 x 80 points of 0.15 bohr around the nuclei, for
//   BE.wfn (270 s, p and d primitives) and ThioformicAcid.wfn (531 primitives, 90 of them g):
//   the counter ns_per_point_primitive is the time per grid point and per primitive, which should
//   not grow with the angular momentum more than the polynomial work does;
// - reading one wavefunction as .wfn and as .wfx: the BE and CaH110 sample pairs (their .wfx
//   files hold 13 significant digits, the .wfn files 8, so the .wfx files are 30 % longer), and
//   BE written both ways here with the same numbers, as Gaussian lays out each format.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "gridio/fixed_text.hpp"
#include "parallel/parallel_for.hpp"
#include "wavefunction/wavefunction_input.hpp"
#include "wavefunction/wfn_sweep.hpp"

namespace {

const std::string kSamples = QV_SAMPLES;

qv::WfnRecord load(const std::string& path) {
  auto screen = qv::TextOutput::memory();
  qv::RunOutput out(*screen);
  out.set_log(qv::TextOutput::memory());
  return qv::read_wavefunction_file(qv::left_adjust(path, 4096), out).record;
}

void sweep_all_four(benchmark::State& state, const std::string& file) {
  const std::string path = kSamples + "/" + file;
  if (!std::filesystem::exists(path)) return state.SkipWithError("sample not found");
  qv::set_sweep_threads(1);
  const qv::WfnRecord rec = load(path);
  qv::WfnSettings s;
  s.properties = {1, 1, 1, 1};
  double centre[3] = {0, 0, 0};
  for (int a = 0; a < rec.centre_count; ++a)
    centre[0] += rec.centre_x[a], centre[1] += rec.centre_y[a], centre[2] += rec.centre_z[a];
  for (int k = 0; k < 3; ++k) s.centre[k] = static_cast<float>(centre[k] / rec.centre_count);
  s.points_x = s.points_y = s.points_z = 80;
  for (int a = 0; a < 3; ++a) s.axes[a][a] = 0.15f;
  const qv::WfnGridLayout layout = qv::wfn_grid_layout(s);
  for (auto _ : state) benchmark::DoNotOptimize(qv::wfn_sweep(rec, s, layout, "bench"));
  const double work = 80.0 * 80.0 * 80.0 * rec.primitive_count;
  state.counters["primitives"] = rec.primitive_count;
  // Shown as seconds: read them as nanoseconds per point and primitive.
  state.counters["ns_per_point_primitive"] =
      benchmark::Counter(work * 1e-9, benchmark::Counter::kIsIterationInvariantRate |
                                          benchmark::Counter::kInvert);
}

void read_file(benchmark::State& state, const std::string& file) {
  const std::string path = kSamples + "/" + file;
  if (!std::filesystem::exists(path)) return state.SkipWithError("sample not found");
  for (auto _ : state) benchmark::DoNotOptimize(load(path));
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                          static_cast<std::int64_t>(std::filesystem::file_size(path)));
}

// 0.dddddddd E+dd: the number as .wfn writers lay it out, `digits` after the point.
std::string wfn_number(double v, int digits) {
  if (v == 0.0) return "0." + std::string(static_cast<std::size_t>(digits), '0') + "E+00";
  int e = static_cast<int>(std::floor(std::log10(std::fabs(v)))) + 1;
  char buf[40];
  std::snprintf(buf, sizeof buf, "%.*f", digits, std::fabs(v) / std::pow(10.0, e));
  if (buf[0] == '1') std::snprintf(buf, sizeof buf, "%.*f", digits, std::fabs(v) / std::pow(10.0, ++e));
  std::string s = std::string(v < 0 ? "-" : "") + buf;
  std::snprintf(buf, sizeof buf, "E%c%02d", e < 0 ? '-' : '+', std::abs(e));
  return s + buf;
}

std::string padded(const std::string& s, std::size_t width) {
  return std::string(width > s.size() ? width - s.size() : 0, ' ') + s;
}

// BE.wfn written again in both layouts with the same numbers; returns the two file names.
std::pair<std::string, std::string> same_content_pair() {
  const auto dir = std::filesystem::temp_directory_path() / "qv_format_bench";
  std::filesystem::create_directories(dir);
  const qv::WfnRecord r = load(kSamples + "/wfn/BE.wfn");
  const std::size_t np = static_cast<std::size_t>(r.primitive_count);
  std::string wfn = " BE written again\n", wfx = "<Title>\n BE written again\n</Title>\n";
  char buf[160];
  std::snprintf(buf, sizeof buf, "GAUSSIAN %14d MOL ORBITALS %6d PRIMITIVES %8d NUCLEI\n",
                r.orbital_count, r.primitive_count, r.centre_count);
  wfn += buf;
  wfx += "<Number of Nuclei>\n " + std::to_string(r.centre_count) + "\n</Number of Nuclei>\n";
  wfx += "<Number of Occupied Molecular Orbitals>\n " + std::to_string(r.orbital_count) +
         "\n</Number of Occupied Molecular Orbitals>\n";
  wfx += "<Number of Primitives>\n " + std::to_string(r.primitive_count) +
         "\n</Number of Primitives>\n";
  std::string names, charges, coords;
  for (int a = 0; a < r.centre_count; ++a) {
    std::snprintf(buf, sizeof buf, "  C %4d    (CENTRE%3d) %12.8f%12.8f%12.8f  CHARGE = %4.1f\n", a + 1,
                  a + 1, r.centre_x[a], r.centre_y[a], r.centre_z[a], r.nuclear_charges[a]);
    wfn += buf;
    names += " C" + std::to_string(a + 1) + "\n";
    std::snprintf(buf, sizeof buf, " %.1f\n", r.nuclear_charges[a]);
    charges += buf;
    std::snprintf(buf, sizeof buf, " %.8f %.8f %.8f\n", r.centre_x[a], r.centre_y[a],
                  r.centre_z[a]);
    coords += buf;
  }
  wfx += "<Nuclear Names>\n" + names + "</Nuclear Names>\n<Nuclear Charges>\n" + charges +
         "</Nuclear Charges>\n<Nuclear Cartesian Coordinates>\n" + coords +
         "</Nuclear Cartesian Coordinates>\n";
  // Integers 20 to a line, reals 5 to a line, in both layouts.
  auto lists = [&](const char* head, const char* tag, auto value, int per_line, int width) {
    wfx += std::string("<") + tag + ">\n";
    for (std::size_t k = 0; k < np; k += static_cast<std::size_t>(per_line)) {
      wfn += head;
      for (std::size_t q = k; q < np && q < k + static_cast<std::size_t>(per_line); ++q) {
        const std::string v = value(q);
        wfn += padded(v, static_cast<std::size_t>(width));
        wfx += " " + v;
      }
      wfn += "\n";
      wfx += "\n";
    }
    wfx += std::string("</") + tag + ">\n";
  };
  lists(
      "CENTRE ASSIGNMENTS  ", "Primitive Centers",
      [&](std::size_t i) { return std::to_string(r.primitive_centre[i] + 1); }, 20, 3);
  lists("TYPE ASSIGNMENTS    ", "Primitive Types", [&](std::size_t i) { return std::to_string(r.type[i]); }, 20, 3);
  lists(
      "EXPONENTS ", "Primitive Exponents",
      [&](std::size_t i) { return wfn_number(r.exponents[i], 7); }, 5, 14);
  std::string occupations;
  for (int m = 0; m < r.orbital_count; ++m)
    occupations += " " + wfn_number(r.occupations[m], 8) + "\n";
  wfx += "<Molecular Orbital Occupation Numbers>\n" + occupations +
         "</Molecular Orbital Occupation Numbers>\n<Molecular Orbital Primitive Coefficients>\n";
  for (int m = 0; m < r.orbital_count; ++m) {
    std::snprintf(buf, sizeof buf, "MO%5d     MO 0.0        OCC NO = %12.8f  ORB. ENERGY = %12.6f\n",
                  m + 1, r.occupations[m], 0.0);
    wfn += buf;
    wfx += "<MO Number>\n " + std::to_string(m + 1) + "\n</MO Number>\n";
    for (std::size_t k = 0; k < np; k += 5) {
      for (std::size_t q = k; q < np && q < k + 5; ++q) {
        const std::string v = wfn_number(r.coefficient(static_cast<int>(q), m), 8);
        wfn += padded(v, 16);
        wfx += " " + padded(v, 15);
      }
      wfn += "\n";
      wfx += "\n";
    }
  }
  wfn += "END DATA\n TOTAL ENERGY =      -76.023551568532 THE VIRIAL(-V/T)=   2.00000000\n";
  wfx += "</Molecular Orbital Primitive Coefficients>\n";
  const std::string a = (dir / "same.wfn").string(), b = (dir / "same.wfx").string();
  std::ofstream(a) << wfn;
  std::ofstream(b) << wfx;
  return {a, b};
}

void read_same_content(benchmark::State& state, bool wfx) {
  if (!std::filesystem::exists(kSamples + "/wfn/BE.wfn")) return state.SkipWithError("sample not found");
  static const auto pair = same_content_pair();
  const std::string& path = wfx ? pair.second : pair.first;
  const qv::WfnRecord check = load(path);
  if (check.primitive_count != 270)
    return state.SkipWithError("the written file does not read back");
  for (auto _ : state) benchmark::DoNotOptimize(load(path));
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                          static_cast<std::int64_t>(std::filesystem::file_size(path)));
}

BENCHMARK_CAPTURE(sweep_all_four, BE_spd, std::string("wfn/BE.wfn"))->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(sweep_all_four, ThioformicAcid_spdfg, std::string("wfn/ThioformicAcid.wfn"))
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(read_file, BE_wfn, std::string("wfn/BE.wfn"))->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(read_file, BE_wfx, std::string("wfx/BE.wfx"))->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(read_file, CaH110_wfn, std::string("wfn/cah110_hf_sto3g_g09.wfn"))
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(read_file, CaH110_wfx, std::string("wfx/cah110_hf_sto3g_g09.wfx"))
    ->Unit(benchmark::kMillisecond);

BENCHMARK_CAPTURE(read_same_content, BE_as_wfn, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(read_same_content, BE_as_wfx, true)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
