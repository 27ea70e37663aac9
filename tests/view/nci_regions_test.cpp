// Labelling of NCI regions on synthetic grids whose regions are known by construction.
#include "view/nci_regions.hpp"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <set>
#include <vector>

namespace qv {
namespace {

// An n1 x n2 x n3 pair of grids with unit steps, all outside NCI until points are set.
struct TwoGrids {
  CubeGeometry geometry;
  std::vector<double> rdg, rhosign;

  TwoGrids(std::size_t n1, std::size_t n2, std::size_t n3) {
    geometry.points = {n1, n2, n3};
    geometry.axes = {{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}};
    rdg.assign(n1 * n2 * n3, 2.0);
    rhosign.assign(n1 * n2 * n3, 0.2);
  }
  std::size_t index(std::size_t i1, std::size_t i2, std::size_t i3) const {
    return i1 + geometry.points[0] * (i2 + geometry.points[1] * i3);
  }
  void set(std::size_t i1, std::size_t i2, std::size_t i3, double rdg_value,
           double rhosign_value = -0.02) {
    rdg[index(i1, i2, i3)] = rdg_value;
    rhosign[index(i1, i2, i3)] = rhosign_value;
  }
  // A box of NCI points from `lo` to `hi` inclusive.
  void box(std::array<std::size_t, 3> lo, std::array<std::size_t, 3> hi, double rdg_value,
           double rhosign_value) {
    for (std::size_t k = lo[2]; k <= hi[2]; ++k)
      for (std::size_t j = lo[1]; j <= hi[1]; ++j)
        for (std::size_t i = lo[0]; i <= hi[0]; ++i) set(i, j, k, rdg_value, rhosign_value);
  }
  std::vector<NciRegion> regions(const NciCriteria& c = {}) const {
    return find_nci_regions(geometry, rdg.data(), rhosign.data(), c);
  }
};

TEST(NciRegions, TwoSeparatedBlobsSortedByDensityAtTheirLowestRdg) {
  TwoGrids g(12, 10, 10);
  g.box({1, 1, 1}, {3, 3, 3}, 0.3, 0.004);    // 27 points, weak
  g.box({7, 5, 5}, {9, 7, 6}, 0.3, -0.03);    // 18 points, strong attraction
  g.set(8, 6, 5, 0.1, -0.035);                // its lowest RDG
  const auto r = g.regions();
  ASSERT_EQ(r.size(), 2u);
  EXPECT_EQ(r[0].points, 18u);
  EXPECT_DOUBLE_EQ(r[0].rdg_min, 0.1);
  EXPECT_DOUBLE_EQ(r[0].rhosign_at_rdg_min, -0.035);
  EXPECT_EQ(r[0].lowest_point, (std::array<std::size_t, 3>{8, 6, 5}));
  EXPECT_DOUBLE_EQ(r[0].rhosign_min, -0.035);
  EXPECT_DOUBLE_EQ(r[0].rhosign_max, -0.03);
  EXPECT_EQ(r[0].kind, NciKind::attractive);
  EXPECT_NEAR(r[0].rho_integral, 17 * 0.03 + 0.035, 1e-15);
  EXPECT_EQ(r[1].points, 27u);
  EXPECT_EQ(r[1].kind, NciKind::van_der_waals);
  EXPECT_DOUBLE_EQ(r[1].volume, 27.0);
  EXPECT_FALSE(r[0].touches_box || r[1].touches_box);
}

TEST(NciRegions, ARingIsOneRegion) {
  TwoGrids g(9, 9, 3);
  for (std::size_t t = 1; t <= 7; ++t) {  // the border of the square 1..7 x 1..7 at k = 1
    g.set(t, 1, 1, 0.2);
    g.set(t, 7, 1, 0.2);
    g.set(1, t, 1, 0.2);
    g.set(7, t, 1, 0.2);
  }
  const auto r = g.regions();
  ASSERT_EQ(r.size(), 1u);
  EXPECT_EQ(r[0].points, 24u);
  EXPECT_FALSE(r[0].touches_box);
}

TEST(NciRegions, OnlyFaceNeighboursConnect) {
  struct Case {
    const char* what;
    std::array<std::size_t, 3> second;  // the first point of each pair is at (3, 3, 3)
    std::size_t regions;
  };
  const Case cases[] = {{"face", {4, 3, 3}, 1},
                        {"edge diagonal", {4, 4, 3}, 2},
                        {"corner diagonal", {4, 4, 4}, 2},
                        {"third axis face", {3, 3, 4}, 1}};
  for (const Case& c : cases) {
    TwoGrids g(8, 8, 8);
    g.set(3, 3, 3, 0.2);
    g.set(c.second[0], c.second[1], c.second[2], 0.2);
    NciCriteria one_point;
    one_point.min_points = 1;
    EXPECT_EQ(g.regions(one_point).size(), c.regions) << c.what;
  }
}

TEST(NciRegions, TheGridIsNotPeriodic) {
  TwoGrids g(6, 6, 6);
  g.box({0, 2, 2}, {0, 2, 4}, 0.2, -0.02);  // 3 points on the face i1 = 0 ...
  g.box({5, 2, 2}, {5, 2, 3}, 0.2, -0.02);  // ... and 2 facing them across the box
  NciCriteria c;
  c.min_points = 1;
  const auto r = g.regions(c);
  ASSERT_EQ(r.size(), 2u);
  EXPECT_TRUE(r[0].touches_box && r[1].touches_box);
}

TEST(NciRegions, ARegionTouchingTheOutermostLayerIsMarked) {
  struct Case {
    std::array<std::size_t, 3> lo, hi;
    bool touches;
  };
  const Case cases[] = {{{1, 1, 1}, {2, 2, 2}, false}, {{0, 1, 1}, {1, 2, 2}, true},
                        {{1, 1, 1}, {2, 2, 6}, true},  {{1, 5, 1}, {2, 6, 2}, true},
                        {{1, 1, 4}, {2, 2, 5}, false}};
  for (const Case& c : cases) {
    TwoGrids g(5, 7, 7);
    g.box(c.lo, c.hi, 0.2, -0.02);
    const auto r = g.regions();
    ASSERT_EQ(r.size(), 1u);
    EXPECT_EQ(r[0].touches_box, c.touches) << c.lo[0] << c.lo[1] << c.lo[2];
  }
}

TEST(NciRegions, RegionsBelowTheMinimumSizeAreDropped) {
  TwoGrids g(12, 6, 6);
  g.box({1, 1, 1}, {4, 1, 1}, 0.2, -0.02);  // 4 points
  g.box({6, 3, 3}, {10, 3, 3}, 0.2, -0.01);  // 5 points
  auto r = g.regions();
  ASSERT_EQ(r.size(), 1u);
  EXPECT_EQ(r[0].points, 5u);
  NciCriteria c;
  c.min_points = 4;
  EXPECT_EQ(g.regions(c).size(), 2u);
  c.min_points = 6;
  EXPECT_TRUE(g.regions(c).empty());
}

TEST(NciRegions, EqualLowestRdgGoesToTheFirstPointInFileOrder) {
  // File order runs the third index fastest: (0, 0, 2) comes before (1, 0, 0) in the file,
  // although (1, 0, 0) is stored first in memory.
  TwoGrids g(4, 4, 4);
  g.box({0, 0, 0}, {1, 0, 2}, 0.3, -0.02);
  g.set(1, 0, 0, 0.1, -0.015);
  g.set(0, 0, 2, 0.1, -0.025);
  const auto r = g.regions();
  ASSERT_EQ(r.size(), 1u);
  EXPECT_EQ(r[0].lowest_point, (std::array<std::size_t, 3>{0, 0, 2}));
  EXPECT_DOUBLE_EQ(r[0].rhosign_at_rdg_min, -0.025);
}

TEST(NciRegions, EqualDensitiesAtTheLowestRdgAreOrderedByFileOrder) {
  TwoGrids g(10, 10, 10);
  g.box({6, 1, 1}, {8, 2, 2}, 0.2, -0.02);  // lowest-RDG point first in memory order ...
  g.box({1, 6, 6}, {3, 7, 7}, 0.2, -0.02);  // ... but this one is first in file order
  const auto r = g.regions();
  ASSERT_EQ(r.size(), 2u);
  EXPECT_EQ(r[0].lowest_point, (std::array<std::size_t, 3>{1, 6, 6}));
  EXPECT_EQ(r[1].lowest_point, (std::array<std::size_t, 3>{6, 1, 1}));
}

TEST(NciRegions, EdgesOfTheCriteria) {
  NciCriteria c;
  c.min_points = 1;
  c.isovalue = 0.5;
  c.range = 0.05;
  c.kind_threshold = 0.01;
  struct Case {
    const char* what;
    double rdg, rhosign;
    bool in;
    NciKind kind;
  };
  const Case cases[] = {
      {"RDG equal to the isovalue", 0.5, -0.02, false, {}},
      {"RDG just below", 0.49999999999999994, -0.02, true, NciKind::attractive},
      {"|rhosign| equal to the range", 0.2, -0.05, true, NciKind::attractive},
      {"rhosign equal to the range", 0.2, 0.05, true, NciKind::repulsive},
      {"|rhosign| beyond the range", 0.2, 0.05000000000000001, false, {}},
      {"at -threshold", 0.2, -0.01, true, NciKind::van_der_waals},
      {"at +threshold", 0.2, 0.01, true, NciKind::van_der_waals},
      {"below -threshold", 0.2, -0.010000000000000002, true, NciKind::attractive},
      {"above +threshold", 0.2, 0.010000000000000002, true, NciKind::repulsive},
      {"zero density", 0.2, 0.0, true, NciKind::van_der_waals},
  };
  for (const Case& k : cases) {
    TwoGrids g(3, 3, 3);
    g.set(1, 1, 1, k.rdg, k.rhosign);
    const auto r = g.regions(c);
    ASSERT_EQ(r.size(), k.in ? 1u : 0u) << k.what;
    if (k.in) {
      EXPECT_EQ(r[0].kind, k.kind) << k.what;
    }
  }
}

TEST(NciRegions, TheNotComputedMarkerIsNeverInside) {
  TwoGrids g(5, 5, 5);
  g.box({1, 1, 1}, {3, 3, 3}, kRdgNotComputed, 0.0);
  g.set(2, 2, 2, 0.2, -0.02);
  NciCriteria c;
  c.isovalue = 1e12;
  c.min_points = 1;
  const auto r = g.regions(c);
  ASSERT_EQ(r.size(), 1u);
  EXPECT_EQ(r[0].points, 1u);
  // Everything else of the grid (RDG 2.0, rho*sign 0.2) is outside the range.
}

TEST(NciRegions, CellVolumeIsTheAbsoluteDeterminantOfTheAxes) {
  TwoGrids g(4, 4, 4);
  g.geometry.axes = {{{0.2, 0.0, 0.0}, {0.1, 0.3, 0.0}, {0.0, 0.05, -0.25}}};  // left-handed
  g.geometry.origin = {1.0, -2.0, 0.5};
  g.box({1, 1, 1}, {2, 2, 1}, 0.2, -0.02);
  g.set(2, 1, 1, 0.1, -0.03);
  const auto r = g.regions();
  ASSERT_EQ(r.size(), 0u);  // 4 points
  NciCriteria c;
  c.min_points = 4;
  const auto r4 = g.regions(c);
  ASSERT_EQ(r4.size(), 1u);
  const double cell = 0.2 * 0.3 * 0.25;
  EXPECT_NEAR(r4[0].volume, 4 * cell, 1e-15);
  EXPECT_NEAR(r4[0].rho_integral, (3 * 0.02 + 0.03) * cell, 1e-15);
  // Point (2, 1, 1): origin + 2 a1 + a2 + a3.
  EXPECT_NEAR(r4[0].position[0], 1.0 + 0.4 + 0.1, 1e-15);
  EXPECT_NEAR(r4[0].position[1], -2.0 + 0.3 + 0.05, 1e-15);
  EXPECT_NEAR(r4[0].position[2], 0.5 - 0.25, 1e-15);
}

TEST(NciRegions, NearestAtomsNearerFirstTiesByIndex) {
  const std::vector<CubeAtom> atoms = {
      {8, 0, 0, 3}, {1, 0, 3, 0}, {1, 2, 0, 0}, {6, -3, 0, 0}, {7, 0, -2, 0}};
  auto near = nearest_two_atoms(atoms, {0, 0, 0});
  ASSERT_EQ(near.size(), 2u);
  EXPECT_EQ(near[0].index, 2u);  // the two atoms at 2 bohr: index 2 before index 4
  EXPECT_EQ(near[1].index, 4u);
  EXPECT_DOUBLE_EQ(near[0].distance, 2.0);
  near = nearest_two_atoms(atoms, {0, 0, 2.5});
  EXPECT_EQ(near[0].index, 0u);
  EXPECT_EQ(near[1].index, 2u);  // sqrt(10.25) from atoms 2 and 4, sqrt(15.25) from 1
  // Three equidistant atoms, met in reverse order of closeness so far.
  const std::vector<CubeAtom> ring = {{1, 0, 0, 5}, {1, 1, 0, 0}, {1, 0, 1, 0}, {1, -1, 0, 0}};
  near = nearest_two_atoms(ring, {0, 0, 0});
  EXPECT_EQ(near[0].index, 1u);
  EXPECT_EQ(near[1].index, 2u);
  EXPECT_EQ(nearest_two_atoms({{3, 1, 1, 1}}, {0, 0, 0}).size(), 1u);
  EXPECT_TRUE(nearest_two_atoms({}, {0, 0, 0}).empty());
}

TEST(NciRegions, AnEmptySpaceBlobStillGetsItsTwoNearestAtoms) {
  TwoGrids g(20, 20, 20);
  g.geometry.origin = {-5, -5, -5};
  g.geometry.axes = {{{0.5, 0, 0}, {0, 0.5, 0}, {0, 0, 0.5}}};
  // Two atoms far off on one side; the blob sits in empty space on the other.
  g.geometry.atoms = {{8, -4.5, -4.5, -4.5}, {1, -3.5, -4.5, -4.5}, {1, -4.5, -3.5, -4.5}};
  g.box({14, 14, 14}, {16, 16, 16}, 0.4, 0.002);
  g.set(15, 15, 15, 0.3, 0.001);
  const auto r = g.regions();
  ASSERT_EQ(r.size(), 1u);
  ASSERT_EQ(r[0].nearest.size(), 2u);
  EXPECT_EQ(r[0].nearest[0].index, 1u);  // equal distances from atoms 1 and 2: index first
  EXPECT_EQ(r[0].nearest[1].index, 2u);
  EXPECT_NEAR(r[0].nearest[0].distance, std::sqrt(6.0 * 6.0 + 2 * 7.0 * 7.0), 1e-12);
}

TEST(NciRegions, AWholeGridRegionNeedsNoRecursion) {
  TwoGrids g(120, 120, 120);
  for (double& v : g.rdg) v = 0.3;
  for (double& v : g.rhosign) v = -0.001;
  g.set(119, 0, 119, 0.01, -0.02);
  const auto r = g.regions();
  ASSERT_EQ(r.size(), 1u);
  EXPECT_EQ(r[0].points, g.rdg.size());
  EXPECT_EQ(r[0].lowest_point, (std::array<std::size_t, 3>{119, 0, 119}));
  EXPECT_TRUE(r[0].touches_box);
  EXPECT_NEAR(r[0].rho_integral, 0.001 * (g.rdg.size() - 1) + 0.02, 1e-9);
}

// Reference labels by repeated relaxation: each NCI point takes the smallest label among its
// face neighbours until nothing changes. Slow, but independent of the flood fill.
std::vector<long> relaxed_labels(const TwoGrids& g, const NciCriteria& c) {
  const auto [n1, n2, n3] = g.geometry.points;
  std::vector<long> label(g.rdg.size(), -1);
  for (std::size_t p = 0; p < label.size(); ++p)
    if (g.rdg[p] < c.isovalue && std::fabs(g.rhosign[p]) <= c.range) label[p] = static_cast<long>(p);
  for (bool changed = true; changed;) {
    changed = false;
    for (std::size_t k = 0; k < n3; ++k)
      for (std::size_t j = 0; j < n2; ++j)
        for (std::size_t i = 0; i < n1; ++i) {
          const std::size_t p = g.index(i, j, k);
          if (label[p] < 0) continue;
          auto pull = [&](std::size_t q) {
            if (label[q] >= 0 && label[q] < label[p]) {
              label[p] = label[q];
              changed = true;
            }
          };
          if (i > 0) pull(p - 1);
          if (i + 1 < n1) pull(p + 1);
          if (j > 0) pull(g.index(i, j - 1, k));
          if (j + 1 < n2) pull(g.index(i, j + 1, k));
          if (k > 0) pull(g.index(i, j, k - 1));
          if (k + 1 < n3) pull(g.index(i, j, k + 1));
        }
  }
  return label;
}

TEST(NciRegions, RandomGridsAgreeWithRelaxedLabels) {
  std::mt19937 rng(20261208);
  std::uniform_real_distribution<double> rdg(0.0, 1.0), rhosign(-0.06, 0.06);
  for (int trial = 0; trial < 20; ++trial) {
    TwoGrids g(7 + trial % 3, 9, 6 + trial % 4);
    for (double& v : g.rdg) v = rdg(rng);
    for (double& v : g.rhosign) v = rhosign(rng);
    NciCriteria c;
    c.min_points = 1 + trial % 4;
    const auto labels = relaxed_labels(g, c);
    std::vector<std::size_t> sizes(labels.size(), 0);
    for (long l : labels)
      if (l >= 0) ++sizes[static_cast<std::size_t>(l)];
    std::multiset<std::size_t> expected;
    for (std::size_t s : sizes)
      if (s >= c.min_points) expected.insert(s);
    std::multiset<std::size_t> found;
    const auto regions = g.regions(c);
    for (const auto& r : regions) {
      found.insert(r.points);
      // The lowest RDG of the region is the lowest over the reference region it lies in.
      const long label = labels[g.index(r.lowest_point[0], r.lowest_point[1], r.lowest_point[2])];
      for (std::size_t p = 0; p < labels.size(); ++p)
        if (labels[p] == label) {
          EXPECT_LE(r.rdg_min, g.rdg[p]);
        }
    }
    EXPECT_EQ(found, expected) << "trial " << trial;
    for (std::size_t i = 1; i < regions.size(); ++i)
      EXPECT_LE(regions[i - 1].rhosign_at_rdg_min, regions[i].rhosign_at_rdg_min);
  }
}

}  // namespace
}  // namespace qv
