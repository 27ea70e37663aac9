#include "view/nci_regions.hpp"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace qv {

double CubeGeometry::cell_volume() const {
  const auto& a = axes;
  const double det = a[0][0] * (a[1][1] * a[2][2] - a[1][2] * a[2][1]) -
                     a[0][1] * (a[1][0] * a[2][2] - a[1][2] * a[2][0]) +
                     a[0][2] * (a[1][0] * a[2][1] - a[1][1] * a[2][0]);
  return std::fabs(det);
}

std::array<double, 3> CubeGeometry::position(std::size_t i1, std::size_t i2, std::size_t i3) const {
  std::array<double, 3> r = origin;
  const double steps[3] = {static_cast<double>(i1), static_cast<double>(i2),
                           static_cast<double>(i3)};
  for (int k = 0; k < 3; ++k)
    for (int c = 0; c < 3; ++c) r[c] += steps[k] * axes[k][c];
  return r;
}

NciKind nci_kind(double rhosign_at_rdg_min, double threshold) {
  if (rhosign_at_rdg_min < -threshold) return NciKind::attractive;
  if (rhosign_at_rdg_min > threshold) return NciKind::repulsive;
  return NciKind::van_der_waals;
}

std::string_view kind_name(NciKind kind) {
  switch (kind) {
    case NciKind::attractive: return "attractive";
    case NciKind::repulsive: return "repulsive";
    case NciKind::van_der_waals: break;
  }
  return "van der Waals";
}

std::vector<NearAtom> nearest_two_atoms(const std::vector<CubeAtom>& atoms,
                                        const std::array<double, 3>& point) {
  // Squared distances decide, so that equal distances compare equal; the earlier index wins.
  struct Candidate {
    std::size_t index;
    double squared;
  };
  Candidate best[2];
  std::size_t found = 0;
  for (std::size_t i = 0; i < atoms.size(); ++i) {
    const double dx = atoms[i].x - point[0], dy = atoms[i].y - point[1],
                 dz = atoms[i].z - point[2];
    const double squared = dx * dx + dy * dy + dz * dz;
    const Candidate here{i, squared};
    if (found < 2) {
      best[found++] = here;
      if (found == 2 && best[1].squared < best[0].squared) std::swap(best[0], best[1]);
    } else if (squared < best[0].squared) {
      best[1] = best[0];
      best[0] = here;
    } else if (squared < best[1].squared) {
      best[1] = here;
    }
  }
  std::vector<NearAtom> out;
  for (std::size_t k = 0; k < found; ++k) out.push_back({best[k].index, std::sqrt(best[k].squared)});
  return out;
}

namespace {

// Point states of the labelling pass.
enum : std::uint8_t { kOutside = 0, kUnvisited = 1, kVisited = 2 };

// Neumaier's compensated sum: the total barely depends on the order the points are met in.
struct CompensatedSum {
  double sum = 0, compensation = 0;
  void add(double x) {
    const double t = sum + x;
    compensation += std::fabs(sum) >= std::fabs(x) ? (sum - t) + x : (x - t) + sum;
    sum = t;
  }
  double value() const { return sum + compensation; }
};

// What one region gathers while its points are visited, a run of points along the first
// index at a time.
struct RegionSums {
  std::size_t points = 0;
  CompensatedSum abs_rhosign;
  double rhosign_min = 0, rhosign_max = 0;
  double rdg_min = 0, rhosign_at_rdg_min = 0;
  std::size_t lowest_file_order = 0;
  std::array<std::size_t, 3> lowest_point{};
  bool touches_box = false;

  // Points first..last of the row (i2, i3), whose values start at `rdg` and `rhosign`.
  void add_run(const double* rdg, const double* rhosign, std::size_t first, std::size_t last,
               std::size_t i2, std::size_t i3, const std::array<std::size_t, 3>& n) {
    if (points == 0) {
      rhosign_min = rhosign_max = rhosign[first];
      rdg_min = rdg[first];
      rhosign_at_rdg_min = rhosign[first];
      lowest_point = {first, i2, i3};
      lowest_file_order = file_order(first, i2, i3, n);
    }
    // File order runs the third index fastest, so along a run it grows with the first index:
    // the first point of a run beats a later one with the same RDG.
    std::size_t run_lowest = first;
    for (std::size_t i1 = first; i1 <= last; ++i1) {
      rhosign_min = std::min(rhosign_min, rhosign[i1]);
      rhosign_max = std::max(rhosign_max, rhosign[i1]);
      abs_rhosign.add(std::fabs(rhosign[i1]));
      if (rdg[i1] < rdg[run_lowest]) run_lowest = i1;
    }
    const std::size_t order = file_order(run_lowest, i2, i3, n);
    if (rdg[run_lowest] < rdg_min || (rdg[run_lowest] == rdg_min && order < lowest_file_order)) {
      rdg_min = rdg[run_lowest];
      rhosign_at_rdg_min = rhosign[run_lowest];
      lowest_file_order = order;
      lowest_point = {run_lowest, i2, i3};
    }
    points += last - first + 1;
    touches_box = touches_box || first == 0 || last + 1 == n[0] || i2 == 0 || i2 + 1 == n[1] ||
                  i3 == 0 || i3 + 1 == n[2];
  }

  static std::size_t file_order(std::size_t i1, std::size_t i2, std::size_t i3,
                                const std::array<std::size_t, 3>& n) {
    return i3 + n[2] * (i2 + n[1] * i1);
  }
};

// A point known to start (or lie in) a run of unvisited NCI points.
struct Seed {
  std::size_t i1, i2, i3;
};

// Scanline flood fill from `start`: the whole run along the first index is taken at once, and
// each stretch of unvisited points beside it in the four neighbouring rows becomes a seed. The
// explicit stack keeps a region as large as the grid from needing deep recursion.
RegionSums fill_region(Seed start, const double* rdg, const double* rhosign,
                       const std::array<std::size_t, 3>& n, std::vector<std::uint8_t>& state,
                       std::vector<Seed>& pending) {
  RegionSums sums;
  pending.push_back(start);
  while (!pending.empty()) {
    const Seed s = pending.back();
    pending.pop_back();
    const std::size_t row = n[0] * (s.i2 + n[1] * s.i3);
    std::uint8_t* line = state.data() + row;
    if (line[s.i1] != kUnvisited) continue;  // taken by a run found since it was pushed
    std::size_t first = s.i1, last = s.i1;
    while (first > 0 && line[first - 1] == kUnvisited) --first;
    while (last + 1 < n[0] && line[last + 1] == kUnvisited) ++last;
    for (std::size_t i1 = first; i1 <= last; ++i1) line[i1] = kVisited;
    sums.add_run(rdg + row, rhosign + row, first, last, s.i2, s.i3, n);

    auto seed_row = [&](std::size_t i2, std::size_t i3) {
      const std::uint8_t* next = state.data() + n[0] * (i2 + n[1] * i3);
      for (std::size_t i1 = first; i1 <= last; ++i1) {
        if (next[i1] != kUnvisited) continue;
        pending.push_back({i1, i2, i3});
        while (i1 < last && next[i1 + 1] == kUnvisited) ++i1;  // one seed per stretch
      }
    };
    if (s.i2 > 0) seed_row(s.i2 - 1, s.i3);
    if (s.i2 + 1 < n[1]) seed_row(s.i2 + 1, s.i3);
    if (s.i3 > 0) seed_row(s.i2, s.i3 - 1);
    if (s.i3 + 1 < n[2]) seed_row(s.i2, s.i3 + 1);
  }
  return sums;
}

// Marks the NCI points; returns how many there are.
std::size_t mark_nci_points(const double* rdg, const double* rhosign, std::size_t count,
                            const NciCriteria& criteria, std::vector<std::uint8_t>& state) {
  std::size_t marked = 0;
  for (std::size_t p = 0; p < count; ++p) {
    const bool in = rdg[p] < criteria.isovalue && rdg[p] != kRdgNotComputed &&
                    std::fabs(rhosign[p]) <= criteria.range;
    state[p] = in ? kUnvisited : kOutside;
    marked += in;
  }
  return marked;
}

// The figures of a region from what its points gathered.
NciRegion make_region(const RegionSums& sums, const CubeGeometry& grid, double cell,
                      const NciCriteria& criteria) {
  NciRegion r;
  r.points = sums.points;
  r.volume = static_cast<double>(sums.points) * cell;
  r.rho_integral = sums.abs_rhosign.value() * cell;
  r.rdg_min = sums.rdg_min;
  r.rhosign_at_rdg_min = sums.rhosign_at_rdg_min;
  r.rhosign_min = sums.rhosign_min;
  r.rhosign_max = sums.rhosign_max;
  r.lowest_point = sums.lowest_point;
  r.position = grid.position(sums.lowest_point[0], sums.lowest_point[1], sums.lowest_point[2]);
  r.nearest = nearest_two_atoms(grid.atoms, r.position);
  r.kind = nci_kind(sums.rhosign_at_rdg_min, criteria.kind_threshold);
  r.touches_box = sums.touches_box;
  return r;
}

}  // namespace

std::vector<NciRegion> find_nci_regions(const CubeGeometry& grid, const double* rdg,
                                        const double* rhosign, const NciCriteria& criteria) {
  const std::size_t n1 = grid.points[0], n2 = grid.points[1], n3 = grid.points[2];
  const std::size_t count = grid.point_count();
  std::vector<std::uint8_t> state(count);
  std::vector<NciRegion> regions;
  if (mark_nci_points(rdg, rhosign, count, criteria, state) == 0) return regions;

  const double cell = grid.cell_volume();
  std::vector<Seed> pending;
  std::size_t p = 0;
  for (std::size_t i3 = 0; i3 < n3; ++i3)
    for (std::size_t i2 = 0; i2 < n2; ++i2)
      for (std::size_t i1 = 0; i1 < n1; ++i1, ++p) {
        if (state[p] != kUnvisited) continue;
        const RegionSums sums =
            fill_region({i1, i2, i3}, rdg, rhosign, grid.points, state, pending);
        if (sums.points < criteria.min_points) continue;
        regions.push_back(make_region(sums, grid, cell, criteria));
      }

  auto file_order = [&](const NciRegion& r) {
    return r.lowest_point[2] + n3 * (r.lowest_point[1] + n2 * r.lowest_point[0]);
  };
  std::sort(regions.begin(), regions.end(), [&](const NciRegion& a, const NciRegion& b) {
    if (a.rhosign_at_rdg_min != b.rhosign_at_rdg_min)
      return a.rhosign_at_rdg_min < b.rhosign_at_rdg_min;
    return file_order(a) < file_order(b);
  });
  return regions;
}

}  // namespace qv
