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
    double squared = 0;
    for (int c = 0; c < 3; ++c) {
      const double d = atoms[i].position[c] - point[c];
      squared += d * d;
    }
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

// What one region gathers while its points are visited.
struct RegionSums {
  std::size_t points = 0;
  CompensatedSum abs_rhosign;
  double rhosign_min = 0, rhosign_max = 0;
  double rdg_min = 0, rhosign_at_rdg_min = 0;
  std::size_t lowest_file_order = 0;
  std::array<std::size_t, 3> lowest_point{};
  bool touches_box = false;

  void add(double rdg, double rhosign, std::size_t i1, std::size_t i2, std::size_t i3,
           std::size_t file_order, bool on_rim) {
    if (points == 0) {
      rhosign_min = rhosign_max = rhosign;
    } else {
      rhosign_min = std::min(rhosign_min, rhosign);
      rhosign_max = std::max(rhosign_max, rhosign);
    }
    if (points == 0 || rdg < rdg_min || (rdg == rdg_min && file_order < lowest_file_order)) {
      rdg_min = rdg;
      rhosign_at_rdg_min = rhosign;
      lowest_file_order = file_order;
      lowest_point = {i1, i2, i3};
    }
    abs_rhosign.add(std::fabs(rhosign));
    touches_box = touches_box || on_rim;
    ++points;
  }
};

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

}  // namespace

std::vector<NciRegion> find_nci_regions(const CubeGeometry& grid, const double* rdg,
                                        const double* rhosign, const NciCriteria& criteria) {
  const std::size_t n1 = grid.points[0], n2 = grid.points[1], n3 = grid.points[2];
  const std::size_t count = grid.point_count();
  const std::size_t plane = n1 * n2;
  std::vector<std::uint8_t> state(count);
  std::vector<NciRegion> regions;
  if (mark_nci_points(rdg, rhosign, count, criteria, state) == 0) return regions;

  const double cell = grid.cell_volume();
  // Flood fill over an explicit stack: a region as large as the grid needs no deep recursion.
  std::vector<std::size_t> pending;
  for (std::size_t seed = 0; seed < count; ++seed) {
    if (state[seed] != kUnvisited) continue;
    RegionSums sums;
    state[seed] = kVisited;
    pending.push_back(seed);
    while (!pending.empty()) {
      const std::size_t p = pending.back();
      pending.pop_back();
      const std::size_t i1 = p % n1, i2 = (p / n1) % n2, i3 = p / plane;
      const bool on_rim = i1 == 0 || i1 + 1 == n1 || i2 == 0 || i2 + 1 == n2 || i3 == 0 ||
                          i3 + 1 == n3;
      sums.add(rdg[p], rhosign[p], i1, i2, i3, i3 + n3 * (i2 + n2 * i1), on_rim);
      auto visit = [&](std::size_t q) {
        if (state[q] == kUnvisited) {
          state[q] = kVisited;
          pending.push_back(q);
        }
      };
      if (i1 > 0) visit(p - 1);
      if (i1 + 1 < n1) visit(p + 1);
      if (i2 > 0) visit(p - n1);
      if (i2 + 1 < n2) visit(p + n1);
      if (i3 > 0) visit(p - plane);
      if (i3 + 1 < n3) visit(p + plane);
    }
    if (sums.points < criteria.min_points) continue;

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
    regions.push_back(std::move(r));
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
