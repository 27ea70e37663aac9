#include "driver/output_writing.hpp"

namespace qv {

void output_writing(int section, const input_variables& iv, TextOutput& log) {
  switch (section) {
    case 1: write_wfn_summary(iv.wfn, log); break;
    case 2: write_top_summary(iv.top, log); break;
    case 3: write_rdg_summary(iv.rdg, log); break;
    default: break;
  }
}

}  // namespace qv
