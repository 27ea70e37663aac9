#pragma once
// What the user chooses for the pictures of the NCI isosurface and the table of NCI regions
// (quelvarin-plot's options).
namespace qv {

struct PictureOptions {
  double isovalue = 0.5;       // RDG isosurface (0.3 is the convention for promolecular densities)
  bool isovalue_given = false; // chosen by the user (--iso) rather than by the density's kind
  double colour_range = 0.05;  // rho*sign(lambda2) colour scale from -range to +range, a.u.
  bool render = true;          // ray-trace the PNG with PyMOL when it is installed
  // The table of NCI regions takes the isovalue, and the colour range as its range of
  // |rho*sign(lambda2)|; it also drops regions of fewer points than this ...
  long min_region_points = 5;
  // ... and calls a region attractive or repulsive beyond this rho*sign(lambda2), a.u.
  double kind_threshold = 0.01;
};

inline constexpr int kPictureWidth = 1200, kPictureHeight = 900;

}  // namespace qv
