#pragma once
// Reference renderings of one fixed field (I, F, E, ES, A), appended to a string. They use the
// C library's exact decimal conversion and serve the format engine; the per-value fast paths in
// fast_fields.cpp must produce the same characters.
#include <cstdint>
#include <string>
#include <string_view>

namespace qv {

// Iw: right-justified digits, a minus sign for negative values, asterisks when too wide.
void render_integer(std::string& out, int w, std::int64_t v);
// Fw.d: fixed point; the "0" before the point is left out only when the field has no room.
void render_fixed(std::string& out, int w, int d, double v);
// Ew.d ("0." significand) or ESw.d (one digit 1-9 before the point) when `scientific`.
void render_exponent(std::string& out, int w, int d, double v, bool scientific);
// Aw (w >= 0): right-justified or cut to the first w characters; w < 0 writes the text as is.
void render_text(std::string& out, int w, std::string_view s);

}  // namespace qv
