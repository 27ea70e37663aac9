#include "view/pymol_script.hpp"

#include <cstdio>

namespace qv {

std::string python_string(std::string_view text) {
  std::string literal = "\"";
  for (const char c : text) {
    if (c == '\\' || c == '"') {
      literal += '\\';
      literal += c;
    } else if (c == '\n') {
      literal += "\\n";
    } else if (c == '\r') {
      literal += "\\r";
    } else {
      literal += c;
    }
  }
  return literal + "\"";
}

void write_pymol_script(const PymolScene& scene, TextOutput& out) {
  auto number = [](double v) {  // the shortest of six significant digits: 0.5, 0.025
    char text[32];
    std::snprintf(text, sizeof text, "%.6g", v);
    return std::string(text);
  };
  const std::string iso = number(scene.isovalue);
  const std::string low = number(-scene.colour_range), high = number(scene.colour_range);
  out.line(kPymolMark);
  out.line("# RDG isosurface at " + iso + " coloured by rho*sign(lambda2) from " + low + " (blue,");
  out.line("# attractive) through 0 (green, weak) to " + high + " a.u. (red, repulsive).");
  out.line("# Open it with: pymol THIS_FILE (or File > Run Script in PyMOL). The files are found");
  out.line("# next to this script, wherever PyMOL is started from.");
  out.line("python");
  out.line("import os");
  out.line("from pymol import cmd");
  out.line("qv_here = os.path.dirname(os.path.abspath(getattr(cmd._pymol, \"__script__\", \"\") or \".\"))");
  out.line("cmd.load(os.path.join(qv_here, " + python_string(scene.atoms_xyz) + "), \"molecule\", format=\"xyz\")");
  out.line("cmd.load(os.path.join(qv_here, " + python_string(scene.rhosign_cube) + "), \"rhosign\", format=\"cube\")");
  out.line("cmd.load(os.path.join(qv_here, " + python_string(scene.rdg_cube) + "), \"rdg\", format=\"cube\")");
  out.line("del qv_here");
  out.line("python end");
  out.line("bg_color white");
  out.line("set ray_opaque_background, 1");
  out.line("hide everything");
  out.line("show sticks, molecule");
  out.line("show spheres, molecule");
  out.line("set stick_radius, 0.16, molecule");
  out.line("set sphere_scale, 0.2, molecule");
  out.line("util.cbag molecule");
  out.line("# the RDG isosurface, coloured by the rho*sign(lambda2) map at its points");
  out.line("isosurface nci, rdg, " + iso);
  out.line("ramp_new nci_colours, rhosign, [" + low + ", 0, " + high + "], [blue, green, red]");
  out.line("disable nci_colours");
  out.line("set surface_color, nci_colours, nci");
  out.line("set surface_quality, 1");
  out.line("# lit on both faces: a surface seen from behind keeps its colours");
  out.line("set two_sided_lighting, on");
  out.line("set ambient, 0.3");
  out.line("set spec_reflect, 0.4");
  out.line("set ray_shadows, off");
  out.line("set ray_trace_mode, 1");
  out.line("set antialias, 2");
  out.line("# the molecule's long axis across the picture, then turned so that a surface");
  out.line("# across that axis (a hydrogen bond, say) is not seen edge-on");
  out.line("orient molecule");
  out.line("turn y, -60");
  out.line("turn x, 15");
  out.line("python");
  out.line("qv_view = list(cmd.get_view())");
  out.line("qv_closer = -qv_view[11] * 0.3  # orient leaves wide margins: move the camera in");
  out.line("qv_view[11] += qv_closer");
  out.line("qv_view[15] -= qv_closer");
  out.line("qv_view[16] -= qv_closer");
  out.line("cmd.set_view(qv_view)");
  out.line("del qv_view, qv_closer");
  out.line("python end");
}

}  // namespace qv
