#include "view/vmd_script.hpp"

#include <cstdio>
#include <filesystem>

namespace qv {

namespace {

std::string fixed6(double v) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%.6f", v);
  return buf;
}

}  // namespace

bool vmd_safe_name(std::string_view name) {
  return name.find_first_of("{}\\\n\r") == std::string_view::npos;
}

std::string path_from_script(const std::string& script, const std::string& target) {
  namespace fs = std::filesystem;
  std::error_code ec;
  const fs::path dir = fs::absolute(fs::path(script), ec).parent_path();
  const fs::path abs_target = fs::absolute(fs::path(target), ec);
  fs::path rel = abs_target.lexically_normal().lexically_relative(dir.lexically_normal());
  return rel.empty() ? abs_target.string() : rel.string();
}

void write_vmd_script(const VmdScene& scene, TextOutput& out) {
  out.line(kVmdMark);
  out.line("# RDG isosurface coloured by rho*sign(lambda2): blue attractive, green weak,");
  out.line("# red repulsive. Open it with: vmd -e THIS_FILE");
  out.line("# The cubes are found next to this script, wherever VMD is started from.");
  for (const std::string& comment : scene.comments) out.line(comment);
  out.line("set qv_here [file dirname [file normalize [info script]]]");
  out.line("display projection Orthographic");
  out.line("display depthcue off");
  out.line("color scale method BGR");
  out.line("# rho*sign(lambda2) is volume 0 and carries the atoms; RDG is volume 1");
  out.line("mol new [file join $qv_here {" + scene.rhosign_cube +
           "}] type cube first 0 last -1 step 1 filebonds 1 autobonds 1 waitfor all");
  out.line("mol addfile [file join $qv_here {" + scene.rdg_cube +
           "}] type cube first 0 last -1 step 1 filebonds 1 autobonds 1 waitfor all");
  out.line("mol delrep 0 top");
  out.line(scene.style == MoleculeStyle::Cpk ? "mol representation CPK 1.000000 0.300000 12.000000 12.000000"
                                             : "mol representation Lines 1.000000");
  out.line("mol color Name");
  out.line("mol selection {all}");
  out.line("mol material Opaque");
  out.line("mol addrep top");
  out.line("# isosurface of volume 1 (RDG), solid, coloured by volume 0");
  out.line("mol representation Isosurface " + fixed6(scene.isovalue) + " 1 0 0 1 1");
  out.line("mol color Volume 0");
  out.line("mol selection {all}");
  out.line("mol material Opaque");
  out.line("mol addrep top");
  out.line("mol scaleminmax top 1 " + fixed6(scene.colour_low) + " " + fixed6(scene.colour_high));
  out.line("unset qv_here");
}

}  // namespace qv
