#include "wavefunction/wavefunction_format.hpp"

namespace qv {

namespace {

bool ends_with_any_case(std::string_view name, std::string_view ending) {
  if (name.size() < ending.size()) return false;
  name = name.substr(name.size() - ending.size());
  for (std::size_t k = 0; k < ending.size(); ++k) {
    char c = name[k];
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (c != ending[k]) return false;
  }
  return true;
}

}  // namespace

WavefunctionFormat wavefunction_format(std::string_view name, std::string_view head) {
  if (ends_with_any_case(name, ".xyz")) return WavefunctionFormat::xyz;
  if (ends_with_any_case(name, ".pdb")) return WavefunctionFormat::pdb;
  if (ends_with_any_case(name, ".wfx")) return WavefunctionFormat::wfx;
  while (!head.empty()) {
    const std::size_t end = head.find('\n');
    std::string_view line = head.substr(0, end);
    head = end == std::string_view::npos ? std::string_view() : head.substr(end + 1);
    while (!line.empty() && (line.front() == ' ' || line.front() == '\t')) line.remove_prefix(1);
    if (line.starts_with("<Title>")) return WavefunctionFormat::wfx;
    if (line.find("MOL ORBITALS") != std::string_view::npos &&
        line.find("PRIMITIVES") != std::string_view::npos)
      break;
  }
  return WavefunctionFormat::wfn;
}

std::string_view format_name(WavefunctionFormat format) {
  switch (format) {
    case WavefunctionFormat::wfx: return "wfx";
    case WavefunctionFormat::xyz: return "xyz";
    case WavefunctionFormat::pdb: return "pdb";
    default: return "wfn";
  }
}

}  // namespace qv
