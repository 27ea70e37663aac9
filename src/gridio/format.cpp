#include "gridio/format.hpp"

#include <cctype>
#include <stdexcept>

#include "gridio/field_render.hpp"
#include "gridio/format_internal.hpp"
#include "gridio/text_output.hpp"

namespace qv {

namespace {

using Node = Format::Node;
using Kind = Format::Node::Kind;
using detail::reversion_point;

// Recursive-descent parser of a format string; malformed text is a programming error.
class Parser {
 public:
  explicit Parser(std::string_view text) : s_(text) {}

  std::vector<Node> parse() {
    skip_blanks();
    expect('(');
    std::vector<Node> items = parse_list();
    expect(')');
    skip_blanks();
    if (i_ != s_.size()) fail("text after the closing parenthesis");
    return items;
  }

 private:
  [[noreturn]] void fail(const std::string& why) const {
    throw std::invalid_argument("format \"" + std::string(s_) + "\": " + why);
  }
  void skip_blanks() {
    while (i_ < s_.size() && s_[i_] == ' ') ++i_;
  }
  char peek() {
    skip_blanks();
    return i_ < s_.size() ? static_cast<char>(std::toupper(static_cast<unsigned char>(s_[i_]))) : '\0';
  }
  void expect(char c) {
    if (peek() != c) fail(std::string("expected '") + c + "'");
    ++i_;
  }
  bool has_number() { return std::isdigit(static_cast<unsigned char>(peek())) != 0; }
  int number() {
    if (!has_number()) fail("expected a number");
    long v = 0;
    while (i_ < s_.size() && std::isdigit(static_cast<unsigned char>(s_[i_]))) {
      v = v * 10 + (s_[i_++] - '0');
      if (v > 100000) fail("number too large");
    }
    return static_cast<int>(v);
  }

  std::vector<Node> parse_list() {
    std::vector<Node> items;
    bool after_item = false;      // a comma may follow an item
    bool need_separator = false;  // a comma is needed between items, except around "/"
    while (true) {
      const char c = peek();
      if (c == ')' || c == '\0') break;
      if (c == ',') {
        if (!after_item) fail("misplaced comma");
        ++i_;
        after_item = need_separator = false;
        continue;
      }
      if (need_separator && c != '/' && !(has_number() && slash_follows_number())) {
        fail("expected ',' between items");
      }
      items.push_back(parse_item());
      after_item = true;
      need_separator = items.back().kind != Kind::Slash;
    }
    return items;
  }

  bool slash_follows_number() {
    std::size_t j = i_;
    while (j < s_.size() && std::isdigit(static_cast<unsigned char>(s_[j]))) ++j;
    while (j < s_.size() && s_[j] == ' ') ++j;
    return j < s_.size() && s_[j] == '/';
  }

  Node parse_item() {
    Node n;
    const bool counted = has_number();
    if (counted) n.repeat = number();
    if (counted && n.repeat == 0) fail("zero repeat count");
    const char c = peek();
    ++i_;
    switch (c) {
      case '(':
        n.kind = Kind::Group;
        n.children = parse_list();
        if (n.children.empty()) fail("empty group");
        expect(')');
        return n;
      case '/':
        n.kind = Kind::Slash;
        return n;
      case 'X':
        n.kind = Kind::X;
        n.w = n.repeat;
        n.repeat = 1;
        return n;
      case 'I':
        n.kind = Kind::I;
        n.w = number();
        break;
      case 'A':
        n.kind = Kind::A;
        n.w = has_number() ? number() : -1;
        break;
      case 'F':
        n.kind = Kind::F;
        break;
      case 'E':
        n.kind = Kind::E;
        if (peek() == 'S') {
          ++i_;
          n.kind = Kind::ES;
        }
        break;
      default:
        fail(std::string("unknown descriptor '") + c + "'");
    }
    if (n.kind == Kind::F || n.kind == Kind::E || n.kind == Kind::ES) {
      n.w = number();
      expect('.');
      n.d = number();
      if (n.d > 64 || (n.kind == Kind::E && n.d == 0)) fail("unsupported digit count");
    }
    if (n.w == 0) fail("zero field width");
    return n;
  }

  std::string_view s_;
  std::size_t i_ = 0;
};

class Writer {
 public:
  Writer(const std::string& fmt, std::span<const OutItem> items) : fmt_(fmt), items_(items) {}

  // Runs nodes[from..]; returns false once output has stopped for want of an item.
  bool run(const std::vector<Node>& nodes, std::size_t from = 0) {
    for (std::size_t i = from; i < nodes.size(); ++i)
      if (!run_node(nodes[i])) return false;
    return true;
  }
  bool items_left() const { return next_ < items_.size(); }
  std::size_t used() const { return next_; }
  void new_line() {
    out_ += '\n';
    pending_x_ = 0;
  }
  std::string take() { return std::move(out_); }

 private:
  bool run_node(const Node& n) {
    switch (n.kind) {
      case Kind::Group:
        for (int r = 0; r < n.repeat; ++r)
          if (!run(n.children)) return false;
        return true;
      case Kind::X:
        pending_x_ += static_cast<std::size_t>(n.w);
        return true;
      case Kind::Slash:
        for (int r = 0; r < n.repeat; ++r) new_line();
        return true;
      default:
        for (int r = 0; r < n.repeat; ++r) {
          if (!items_left()) return false;
          out_.append(pending_x_, ' ');
          pending_x_ = 0;
          put(n, items_[next_++]);
        }
        return true;
    }
  }

  void put(const Node& n, const OutItem& item) {
    if (n.kind == Kind::A) {
      const auto* s = std::get_if<std::string_view>(&item);
      if (!s) mismatch(n);
      return render_text(out_, n.w, *s);
    }
    if (n.kind == Kind::I) {
      const auto* v = std::get_if<std::int64_t>(&item);
      if (!v) mismatch(n);
      return render_integer(out_, n.w, *v);
    }
    const auto* v = std::get_if<double>(&item);
    if (!v) mismatch(n);
    if (n.kind == Kind::F) return render_fixed(out_, n.w, n.d, *v);
    render_exponent(out_, n.w, n.d, *v, n.kind == Kind::ES);
  }
  [[noreturn]] void mismatch(const Node&) const {
    throw std::invalid_argument("format \"" + fmt_ + "\": item " + std::to_string(next_ + 1) +
                                " does not match its descriptor");
  }

  const std::string& fmt_;
  std::span<const OutItem> items_;
  std::size_t next_ = 0;
  std::size_t pending_x_ = 0;  // columns skipped by nX, written only when a field follows
  std::string out_;
};

}  // namespace

Format::Format(std::string_view text) : text_(text), nodes_(Parser(text).parse()) {}

std::string Format::write(std::span<const OutItem> items) const {
  Writer w(text_, items);
  if (!w.run(nodes_)) return w.take();
  const std::size_t again = reversion_point(nodes_);
  while (w.items_left()) {
    const std::size_t before = w.used();
    w.new_line();
    if (!w.run(nodes_, again)) break;
    if (w.used() == before)
      throw std::invalid_argument("format \"" + text_ + "\": no data descriptor to repeat");
  }
  return w.take();
}

void Format::write(TextOutput& out, std::span<const OutItem> items, bool advance) const {
  out.write(write(items));
  if (advance) out.put('\n');
}

}  // namespace qv
