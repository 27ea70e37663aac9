#include "wavefunction/wavefunction_input.hpp"

#include <cstdio>

#include "gridio/fixed_text.hpp"
#include "gridio/stop.hpp"
#include "wavefunction/readwfn.hpp"
#include "wavefunction/wfx_reader.hpp"

namespace qv {

namespace {

// The first few kilobytes: enough for ORCA's banner before <Title>, or a .wfn's counts line.
std::string file_head(const std::string& path) {
  std::string head(8192, '\0');
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return {};
  head.resize(std::fread(head.data(), 1, head.size(), f));
  std::fclose(f);
  return head;
}

}  // namespace

WavefunctionFile read_wavefunction_file(const std::string& name, RunOutput& out) {
  const std::string path = trimmed(name);
  auto in = LineReader::open(path);
  if (!in) {
    out.to_log(ListLine().text(left_adjust(name, 33)).text(" file cannot be opened, program stop"));
    program_stop(1);
  }
  WavefunctionFile file;
  file.format = wavefunction_format(path, file_head(path));
  file.record = file.format == WavefunctionFormat::wfx ? read_wfx(*in, out) : read_wfn(*in, out);
  return file;
}

}  // namespace qv
