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
  for (const std::string& comment : scene.comments) out.line(comment);
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
  out.line("util.cnc molecule");
  out.line("color grey70, molecule and elem C  # grey carbons: green is the surface's colour");
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
  out.line("set orthoscopic, on");
  out.line("set depth_cue, 0");
  out.line("# the molecule's long axis across the picture, then turned so that a surface");
  out.line("# across that axis (a hydrogen bond, say) is not seen edge-on");
  out.line("orient molecule");
  out.line("turn y, -60");
  out.line("turn x, 15");
  out.line("python");
  out.line("# Frame the molecule as it is now seen: the camera as close as its extent allows.");
  out.line("import math");
  out.line("qv_view = list(cmd.get_view())");
  out.line("qv_turn, qv_centre = qv_view[0:9], qv_view[12:15]");
  out.line("qv_seen = [[sum((p[i] - qv_centre[i]) * qv_turn[3 * i + c] for i in range(3)) for c in range(3)]");
  out.line("           for p in (cmd.get_coords(\"molecule\") if cmd.count_atoms(\"molecule\") else [])]");
  out.line("if qv_seen:");
  out.line("    qv_low = [min(q[c] for q in qv_seen) - 0.8 for c in range(3)]");
  out.line("    qv_high = [max(q[c] for q in qv_seen) + 0.8 for c in range(3)]");
  out.line("    qv_half = 1.05 * max((qv_high[1] - qv_low[1]) / 2, (qv_high[0] - qv_low[0]) / 2 * 3 / 4)");
  out.line("    qv_distance = qv_half / math.tan(math.radians(cmd.get_setting_float(\"field_of_view\") / 2))");
  out.line("    qv_view[9:12] = [-(qv_low[0] + qv_high[0]) / 2, -(qv_low[1] + qv_high[1]) / 2, -qv_distance]");
  out.line("    qv_view[15] = max(0.01, qv_distance - qv_high[2] - 5.0)");
  out.line("    qv_view[16] = qv_distance - qv_low[2] + 5.0");
  out.line("    cmd.set_view(qv_view)");
  out.line("del qv_view, qv_turn, qv_centre, qv_seen");
  out.line("python end");
}

}  // namespace qv
