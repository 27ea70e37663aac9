#pragma once
// Helpers of the RDG job's end-to-end tests: running the binary on a choice set in the current
// (temporary) folder and reading back what it left.
#include <cstdlib>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "analysis/rdg_job_expect.hpp"
#include "support/temp_dir.hpp"

namespace qv::e2e {

inline std::set<std::string> files_here() {
  std::set<std::string> names;
  for (const auto& e : std::filesystem::directory_iterator("."))
    names.insert(e.path().filename().string());
  return names;
}

// The run log from the RDG summary's four opening empty lines on.
inline std::string summary_of(const std::string& log) {
  const std::size_t bang = log.find("\n " + std::string(61, '!') + "\n");
  if (bang == std::string::npos || bang < 7) return "(no RDG summary in the run log)";
  return log.substr(bang - 7);
}

// The run log between the banner's last line and the summary: the job's own lines.
inline std::string job_lines(const std::string& log) {
  const std::size_t summary = log.find(" \n \n \n \n " + std::string(61, '!'));
  const std::size_t banner_end = log.rfind(std::string(96, ' ') + "\n", summary);
  if (summary == std::string::npos || banner_end == std::string::npos) return "(not found)";
  return log.substr(banner_end + 97, summary - banner_end - 97);
}

inline int run_job_binary(const Choices& c) {
  testing::write_file("job.inp", input_text(c));
  return testing::run_binary("job.inp");
}

// Values as a cube file holds them (ES13.5) once read back.
inline std::vector<double> as_read(const std::vector<double>& v) {
  std::vector<double> out(v.size());
  for (std::size_t p = 0; p < v.size(); ++p)
    out[p] = std::strtod(es(v[p], 13, 5).c_str(), nullptr);
  return out;
}

// A grd file: atom count + 12 header lines (some with leading blanks), then the values.
inline std::vector<std::string> grd_header(const Model& m) {
  std::vector<std::string> lines;
  for (std::size_t i = 0; i < m.atoms.size() + 12; ++i)
    lines.push_back(std::string(i % 3, ' ') + "XD2006 grid header line " + std::to_string(i + 1));
  return lines;
}
inline std::string grd_file(const Model& m, const std::vector<double>& values) {
  std::string t;
  for (const auto& line : grd_header(m)) t += line + "\n";
  return t + grd_values(m, values);
}
// A grd file as the job writes it: the stored header lines left-adjusted to 80 columns.
inline std::string grd_output(const Model& m, const std::vector<double>& values) {
  std::string t;
  for (const auto& line : grd_header(m)) {
    std::string adjusted = line.substr(line.find_first_not_of(' '));
    t += adjusted + std::string(80 - adjusted.size(), ' ') + "\n";
  }
  return t + grd_values(m, values);
}

}  // namespace qv::e2e
