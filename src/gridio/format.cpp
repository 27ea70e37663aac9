#include "gridio/format.hpp"

#include <stdexcept>

namespace qv {

// Placeholder until the format engine is built.
struct Format::Node {};

Format::Format(std::string_view text) : text_(text) {}
std::string Format::write(std::span<const OutItem>) const {
  throw std::logic_error("format engine not built");
}
void Format::write(TextOutput&, std::span<const OutItem>, bool) const {
  throw std::logic_error("format engine not built");
}
void Format::read(LineReader&, std::span<const InItem>) const {
  throw std::logic_error("format engine not built");
}
void Format::read_line(std::string_view, std::span<const InItem>, const std::string&, long) const {
  throw std::logic_error("format engine not built");
}

}  // namespace qv
