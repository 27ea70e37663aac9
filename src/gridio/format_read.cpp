// The reading half of the format engine: fields are taken column by column from lines padded
// with blanks, numbers follow the real-field rules, text goes into fixed-width targets.
#include <stdexcept>

#include "gridio/format.hpp"
#include "gridio/format_internal.hpp"
#include "gridio/line_reader.hpp"
#include "gridio/number_scan.hpp"
#include "gridio/real_convert.hpp"
#include "gridio/text_error.hpp"

namespace qv {

namespace {

using Node = Format::Node;
using Kind = Format::Node::Kind;

std::string descriptor_text(const Node& n) {
  switch (n.kind) {
    case Kind::I: return "I" + std::to_string(n.w);
    case Kind::F: return "F" + std::to_string(n.w) + "." + std::to_string(n.d);
    case Kind::E: return "E" + std::to_string(n.w) + "." + std::to_string(n.d);
    case Kind::ES: return "ES" + std::to_string(n.w) + "." + std::to_string(n.d);
    default: return "A" + std::to_string(n.w);
  }
}

class Reader {
 public:
  // `in` is null for a read from one given line.
  Reader(const std::string& fmt, LineReader* in, std::string_view line, const std::string& file,
         long line_no, std::span<const InItem> items)
      : fmt_(fmt), in_(in), line_(line), file_(file), line_no_(line_no), items_(items) {}

  void start() {
    if (in_) next_line();
  }
  bool run(const std::vector<Node>& nodes, std::size_t from = 0) {
    for (std::size_t i = from; i < nodes.size(); ++i)
      if (!run_node(nodes[i])) return false;
    return true;
  }
  bool items_left() const { return next_ < items_.size(); }
  std::size_t used() const { return next_; }

  void next_line() {
    if (!in_) {
      throw TextError(file_, line_no_,
                      "more data than the record holds (format " + fmt_ + ")");
    }
    line_ = in_->require("a line to read with format " + fmt_);
    line_no_ = in_->line_number();
    col_ = 0;
  }

 private:
  bool run_node(const Node& n) {
    switch (n.kind) {
      case Kind::Group:
        for (int r = 0; r < n.repeat; ++r)
          if (!run(n.children)) return false;
        return true;
      case Kind::X:
        col_ += static_cast<std::size_t>(n.w);
        return true;
      case Kind::Slash:
        for (int r = 0; r < n.repeat; ++r) next_line();
        return true;
      default:
        for (int r = 0; r < n.repeat; ++r) {
          if (!items_left()) return false;
          get(n, items_[next_++]);
        }
        return true;
    }
  }

  // The next w columns; columns past the end of the line are blanks.
  std::string_view take(std::size_t w, std::string& padded) {
    const std::size_t from = col_;
    col_ += w;
    if (from >= line_.size()) {
      padded.assign(w, ' ');
      return padded;
    }
    std::string_view f = line_.substr(from, w);
    if (f.size() == w) return f;
    padded.assign(f);
    padded.resize(w, ' ');
    return padded;
  }

  void get(const Node& n, const InItem& item) {
    std::string padded;
    const std::size_t first_col = col_ + 1;
    if (n.kind == Kind::A) {
      const auto* t = std::get_if<TextTarget>(&item);
      if (!t) mismatch();
      const std::size_t w = n.w < 0 ? t->width : static_cast<std::size_t>(n.w);
      std::string_view f = take(w, padded);
      // A longer target gets the field at its left; a shorter one the field's rightmost part.
      if (t->width >= w) {
        t->text->assign(f);
        t->text->resize(t->width, ' ');
      } else {
        t->text->assign(f.substr(w - t->width));
      }
      return;
    }
    const std::string_view f = take(static_cast<std::size_t>(n.w), padded);
    if (n.kind == Kind::I) {
      auto* const* v = std::get_if<std::int32_t*>(&item);
      if (!v) mismatch();
      if (!parse_integer_field(f, **v)) malformed(n, f, first_col, "an integer");
      return;
    }
    ScannedReal r;
    if (!scan_real(f.data(), f.data() + f.size(), n.d, false, r)) malformed(n, f, first_col, "a real number");
    if (auto* const* v = std::get_if<double*>(&item)) {
      **v = to_double(r, f, n.d);
    } else if (auto* const* v = std::get_if<float*>(&item)) {
      **v = to_float(r, f, n.d);
    } else {
      mismatch();
    }
  }

  [[noreturn]] void malformed(const Node& n, std::string_view f, std::size_t first_col,
                              const char* what) const {
    throw TextError(file_, line_no_,
                    std::string(what) + " (" + descriptor_text(n) + ") in columns " +
                        std::to_string(first_col) + "-" + std::to_string(first_col + f.size() - 1) +
                        ", found \"" + std::string(f) + "\"");
  }
  [[noreturn]] void mismatch() const {
    throw std::invalid_argument("format \"" + fmt_ + "\": item " + std::to_string(next_) +
                                " does not match its descriptor");
  }

  const std::string& fmt_;
  LineReader* in_;
  std::string_view line_;
  const std::string& file_;
  long line_no_;
  std::span<const InItem> items_;
  std::size_t next_ = 0;
  std::size_t col_ = 0;
};

void run_read(const std::string& fmt, const std::vector<Node>& nodes, Reader& r) {
  r.start();
  if (!r.run(nodes)) return;
  const std::size_t again = detail::reversion_point(nodes);
  while (r.items_left()) {
    const std::size_t before = r.used();
    r.next_line();
    if (!r.run(nodes, again)) return;
    if (r.used() == before)
      throw std::invalid_argument("format \"" + fmt + "\": no data descriptor to repeat");
  }
}

}  // namespace

void Format::read(LineReader& in, std::span<const InItem> items) const {
  Reader r(text_, &in, {}, in.name(), in.line_number(), items);
  run_read(text_, nodes_, r);
}

void Format::read_line(std::string_view line, std::span<const InItem> items,
                       const std::string& file, long line_no) const {
  Reader r(text_, nullptr, line, file, line_no, items);
  run_read(text_, nodes_, r);
}

}  // namespace qv
