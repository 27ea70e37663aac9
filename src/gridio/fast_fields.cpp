#include "gridio/fast_fields.hpp"

#include <stdexcept>

namespace qv {

// Placeholders until the fast fields are built.
char* put_es13_5(char*, double) { throw std::logic_error("not built"); }
char* put_e18_10(char*, double) { throw std::logic_error("not built"); }
char* put_e11_3(char*, double) { throw std::logic_error("not built"); }
char* put_e16_8(char*, double) { throw std::logic_error("not built"); }
bool parse_real_field(std::string_view, int, double&) { throw std::logic_error("not built"); }
bool scan_number(const char*&, const char*, double&) { throw std::logic_error("not built"); }

}  // namespace qv
