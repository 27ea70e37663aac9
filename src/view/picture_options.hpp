#pragma once
// What the user chooses for the pictures of the NCI isosurface (quelvarin-plot's options).
namespace qv {

struct PictureOptions {
  double isovalue = 0.5;       // RDG isosurface (0.3 is the convention for promolecular densities)
  bool isovalue_given = false; // chosen by the user (--iso) rather than by the density's kind
  double colour_range = 0.05;  // rho*sign(lambda2) colour scale from -range to +range, a.u.
  bool render = true;          // ray-trace the PNG with PyMOL when it is installed
};

inline constexpr int kPictureWidth = 1200, kPictureHeight = 900;

}  // namespace qv
