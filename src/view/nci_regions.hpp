#pragma once
// The NCI regions of a pair of RDG and rho*sign(lambda2) grids: the connected sets of points
// where RDG is below the isovalue and |rho*sign(lambda2)| within the range, each with its size,
// integrated density, lowest-RDG point, the two atoms nearest to that point and its kind.
#include <array>
#include <cstddef>
#include <string_view>
#include <vector>

#include "view/cube_glance.hpp"  // CubeAtom

namespace qv {

// The RDG job's marker of a point where RDG was not computed.
inline constexpr double kRdgNotComputed = 1.0E10;

// Where the points of a cube grid lie, in double precision, and the atoms of its header.
struct CubeGeometry {
  std::array<double, 3> origin{};
  std::array<std::array<double, 3>, 3> axes{};  // axes[k]: step vector along index k, bohr
  std::array<std::size_t, 3> points{};          // N1, N2, N3
  std::vector<CubeAtom> atoms;

  std::size_t point_count() const { return points[0] * points[1] * points[2]; }
  // The volume of one grid cell: |det(axes)|, bohr^3.
  double cell_volume() const;
  // origin + i1 * axes[0] + i2 * axes[1] + i3 * axes[2].
  std::array<double, 3> position(std::size_t i1, std::size_t i2, std::size_t i3) const;
};

struct NciCriteria {
  double isovalue = 0.5;         // a point is in NCI when its RDG is below this ...
  double range = 0.05;           // ... and |rho*sign(lambda2)| is at most this
  double kind_threshold = 0.01;  // |rho*sign(lambda2)| at the lowest RDG beyond it: not vdW
  std::size_t min_points = 5;    // smaller regions are dropped
};

enum class NciKind { attractive, van_der_waals, repulsive };

// "attractive" below -threshold, "repulsive" above +threshold, "van der Waals" otherwise
// (the threshold itself included).
NciKind nci_kind(double rhosign_at_rdg_min, double threshold);
std::string_view kind_name(NciKind kind);

struct NearAtom {
  std::size_t index = 0;  // 0-based position in the header's atom list
  double distance = 0;    // bohr
};

// The (at most) two atoms nearest to `point`, nearer first, equal distances by index.
std::vector<NearAtom> nearest_two_atoms(const std::vector<CubeAtom>& atoms,
                                        const std::array<double, 3>& point);

struct NciRegion {
  std::size_t points = 0;
  double volume = 0;        // points x cell volume, bohr^3
  double rho_integral = 0;  // sum of |rho*sign(lambda2)| x cell volume, electrons
  double rdg_min = 0;
  double rhosign_at_rdg_min = 0;
  double rhosign_min = 0, rhosign_max = 0;
  std::array<std::size_t, 3> lowest_point{};  // grid indices of the lowest-RDG point
  std::array<double, 3> position{};           // of the lowest-RDG point, bohr
  std::vector<NearAtom> nearest;              // two atoms (fewer when the header has fewer)
  NciKind kind = NciKind::van_der_waals;
  bool touches_box = false;  // holds a point of the grid's outermost layer
};

// Labels the face-connected (6-neighbour, not periodic) sets of NCI points of two grids of
// `grid.points`, values with the first index fastest (element (i1, i2, i3) at
// i1 + N1 * (i2 + N2 * i3)). A point holding kRdgNotComputed is never in NCI. Regions of fewer
// than criteria.min_points points are dropped; the rest come sorted by rhosign_at_rdg_min,
// then by the file order (third index fastest) of their lowest-RDG point, which also decides
// ties of the lowest RDG inside a region. Raises std::bad_alloc when its work space cannot be had.
std::vector<NciRegion> find_nci_regions(const CubeGeometry& grid, const double* rdg,
                                        const double* rhosign, const NciCriteria& criteria);

}  // namespace qv
