#include "wavefunction/promolecular_sweep.hpp"

#include <algorithm>
#include <cmath>
#include <memory>

#include "parallel/parallel_for.hpp"
#include "wavefunction/aligned_buffer.hpp"
#include "wavefunction/atomic_density.hpp"
#include "wavefunction/radial_table.hpp"
#include "wavefunction/promolecular_kernels.hpp"

namespace qv {

namespace {

// Atoms sorted into cubic cells, so that the atoms near a row are found without looking at all.
class CellList {
 public:
  CellList(const std::vector<GeometryAtom>& atoms, double edge) : edge_(edge) {
    low_ = {atoms[0].x, atoms[0].y, atoms[0].z};
    std::array<double, 3> high = low_;
    for (const GeometryAtom& a : atoms) {
      const double p[3] = {a.x, a.y, a.z};
      for (int k = 0; k < 3; ++k) {
        low_[k] = std::min(low_[k], p[k]);
        high[k] = std::max(high[k], p[k]);
      }
    }
    // Atoms spread far apart get larger cells: at most about a million cells in all.
    for (int k = 0; k < 3; ++k) edge_ = std::max(edge_, (high[k] - low_[k]) / 100.0);
    for (int k = 0; k < 3; ++k)
      count_[k] = static_cast<int>(std::floor((high[k] - low_[k]) / edge_)) + 1;
    start_.assign(static_cast<std::size_t>(count_[0]) * count_[1] * count_[2] + 1, 0);
    std::vector<std::size_t> cell_of(atoms.size());
    for (std::size_t i = 0; i < atoms.size(); ++i) {
      cell_of[i] = cell_index(cell(0, atoms[i].x), cell(1, atoms[i].y), cell(2, atoms[i].z));
      ++start_[cell_of[i] + 1];
    }
    for (std::size_t c = 1; c < start_.size(); ++c) start_[c] += start_[c - 1];
    members_.resize(atoms.size());
    std::vector<std::size_t> fill(start_.begin(), start_.end() - 1);
    for (std::size_t i = 0; i < atoms.size(); ++i) members_[fill[cell_of[i]]++] = static_cast<int>(i);
  }

  // Calls visit(atom index) for every atom in the cells that meet the box [lo, hi], cell by
  // cell (x fastest), atoms of a cell in file order.
  template <class Visit>
  void for_atoms_in_box(const double lo[3], const double hi[3], Visit&& visit) const {
    int first[3], last[3];
    for (int k = 0; k < 3; ++k) {
      first[k] = std::max(0, cell(k, lo[k]));
      last[k] = std::min(count_[k] - 1, cell(k, hi[k]));
      if (first[k] > last[k]) return;
    }
    for (int cz = first[2]; cz <= last[2]; ++cz)
      for (int cy = first[1]; cy <= last[1]; ++cy) {
        const std::size_t row_first = cell_index(first[0], cy, cz);
        const std::size_t row_last = cell_index(last[0], cy, cz);
        for (std::size_t m = start_[row_first]; m < start_[row_last + 1]; ++m) visit(members_[m]);
      }
  }

 private:
  int cell(int axis, double v) const {
    const double c = std::floor((v - low_[static_cast<std::size_t>(axis)]) / edge_);
    return c < -1.0 ? -1 : (c > 1.0e9 ? 1000000000 : static_cast<int>(c));
  }
  std::size_t cell_index(int cx, int cy, int cz) const {
    return static_cast<std::size_t>(cx) +
           static_cast<std::size_t>(count_[0]) *
               (static_cast<std::size_t>(cy) + static_cast<std::size_t>(count_[1]) * static_cast<std::size_t>(cz));
  }

  double edge_;
  std::array<double, 3> low_{};
  std::array<int, 3> count_{};
  std::vector<std::size_t> start_;  // atoms of cell c: members_[start_[c] .. start_[c+1])
  std::vector<int> members_;
};

// Sums of one row, padded for the kernels' eight-point steps.
struct RowBuffers {
  AlignedBuffer rho, gx, gy, gz, lap;
  explicit RowBuffers(std::size_t n) : rho(n), gx(n), gy(n), gz(n), lap(n) {}
  void zero() {
    rho.zero();
    gx.zero();
    gy.zero();
    gz.zero();
    lap.zero();
  }
  promolecular_kernels::RowSums sums() {
    return {rho.data(), gx.data(), gy.data(), gz.data(), lap.data()};
  }
};

// Everything a row needs: the atoms and their element models, the cells, the row's x
// coordinates (padded for the kernels' eight-point steps).
class RowSummer {
 public:
  RowSummer(const std::vector<GeometryAtom>& atoms, const WfnGridLayout& layout, float step_x)
      : atoms_(atoms), nx_(static_cast<int>(layout.xs.size())), step_x_(step_x) {
    for (const GeometryAtom& a : atoms) {
      auto& table = tables_[static_cast<std::size_t>(a.atomic_number)];
      if (table) continue;
      table = std::make_unique<RadialTable>(AtomicDensity(a.atomic_number));
      views_[static_cast<std::size_t>(a.atomic_number)] = promolecular_kernels::view_of(*table);
      largest_cutoff_ = std::max(largest_cutoff_, table->cutoff_radius());
    }
    cells_ = std::make_unique<CellList>(atoms, std::max(2.0, largest_cutoff_ / 4.0));
    xs_.resize(static_cast<std::size_t>(nx_ + promolecular_kernels::kLanes));
    std::copy_n(layout.xs.data(), nx_, xs_.data());
    std::fill_n(xs_.data() + nx_, promolecular_kernels::kLanes, layout.xs.back());
    x_low_ = std::min(xs_[0], xs_[static_cast<std::size_t>(nx_ - 1)]);
    x_high_ = std::max(xs_[0], xs_[static_cast<std::size_t>(nx_ - 1)]);
  }

  int padded_points() const { return nx_ + promolecular_kernels::kLanes; }

  // Adds every atom within reach to the sums of the row at (y, z), which must be zero; returns
  // the number of point-atom pairs.
  long long sum_row(double y, double z, bool derivatives, const promolecular_kernels::RowSums& sums) const {
    const promolecular_kernels::Table& kernels = promolecular_kernels::best_table();
    const double reach = largest_cutoff_;
    const double lo[3] = {x_low_ - reach, y - reach, z - reach};
    const double hi[3] = {x_high_ + reach, y + reach, z + reach};
    long long pairs = 0;
    cells_->for_atoms_in_box(lo, hi, [&](int index) {
      const GeometryAtom& a = atoms_[static_cast<std::size_t>(index)];
      const promolecular_kernels::RadialView& view = views_[static_cast<std::size_t>(a.atomic_number)];
      const double cut = view.cutoff;
      const double q = (y - a.y) * (y - a.y) + (z - a.z) * (z - a.z);
      if (q >= cut * cut) return;
      // The points of the row within the cut-off, widened by one: the kernel checks each again.
      int j0 = 0, j1 = nx_ - 1;
      if (step_x_ > 0.0) {
        const double half = std::sqrt(cut * cut - q);
        const double from = std::floor((a.x - half - xs_[0]) / step_x_) - 1.0;
        const double to = std::ceil((a.x + half - xs_[0]) / step_x_) + 1.0;
        if (to < 0.0 || from > nx_ - 1) return;
        j0 = from < 0.0 ? 0 : static_cast<int>(from);
        j1 = to > nx_ - 1 ? nx_ - 1 : static_cast<int>(to);
      }
      pairs += kernels.add_atom(view, a.x, a.y, a.z,
                                {xs_.data(), j0, j1, y, z}, derivatives, sums);
    });
    return pairs;
  }

 private:
  const std::vector<GeometryAtom>& atoms_;
  std::array<std::unique_ptr<RadialTable>, 55> tables_{};  // by atomic number
  std::array<promolecular_kernels::RadialView, 55> views_{};
  double largest_cutoff_ = 0.0;
  std::unique_ptr<CellList> cells_;
  AlignedBuffer xs_;
  int nx_;
  double step_x_;
  double x_low_ = 0.0, x_high_ = 0.0;
};

// Row coordinates as the wavefunction sweep makes them: accumulated by repeated addition.
std::vector<double> accumulated(double origin, float step, std::int32_t count) {
  std::vector<double> values(static_cast<std::size_t>(count));
  double acc = origin;
  for (double& v : values) {
    v = acc;
    acc += static_cast<double>(step);
  }
  return values;
}

}  // namespace

WfnGrids promolecular_sweep(const std::vector<GeometryAtom>& atoms, const WfnSettings& wfn,
                            const WfnGridLayout& layout, const std::string& what,
                            long long* pairs_within_cutoff) {
  const WfnProperties& on = wfn.properties;
  const std::int32_t nx = wfn.points_x, ny = wfn.points_y, nz = wfn.points_z;
  WfnGrids grids;
  // The sweep writes every value, unless there are no atoms: then the grids hold zeros.
  auto grid = [&] {
    return atoms.empty() ? make_grid(nx, ny, nz, what) : make_grid_for_overwrite(nx, ny, nz, what);
  };
  if (on.density) grids.rho = grid();
  if (on.gradient) grids.grad = grid();
  if (on.laplacian) grids.lapl = grid();
  if (pairs_within_cutoff) *pairs_within_cutoff = 0;
  if (!(on.density || on.gradient || on.laplacian) || nx <= 0 || ny <= 0 || nz <= 0 || atoms.empty()) return grids;

  const RowSummer summer(atoms, layout, wfn.axes[0][0]);
  const std::vector<double> ys = accumulated(layout.origin[1], wfn.axes[1][1], ny);
  const std::vector<double> zs = accumulated(layout.origin[2], wfn.axes[2][2], nz);
  const bool derivatives = on.gradient || on.laplacian;
  const std::size_t row_len = static_cast<std::size_t>(nx);

  // Rows are shared out among the threads; each slot has its own row sums and pair count.
  std::vector<RowBuffers> buffers;
  for (int slot = 0; slot < sweep_threads(); ++slot)
    buffers.emplace_back(static_cast<std::size_t>(summer.padded_points()));
  std::vector<long long> pairs(static_cast<std::size_t>(sweep_threads()), 0);
  const std::size_t rows = static_cast<std::size_t>(ny) * static_cast<std::size_t>(nz);
  parallel_chunks(rows, 1, [&](std::size_t first, std::size_t last, int slot) {
    RowBuffers& row = buffers[static_cast<std::size_t>(slot)];
    const promolecular_kernels::RowSums sums = row.sums();
    for (std::size_t row_index = first; row_index < last; ++row_index) {
      row.zero();
      pairs[static_cast<std::size_t>(slot)] += summer.sum_row(
          ys[row_index % static_cast<std::size_t>(ny)], zs[row_index / static_cast<std::size_t>(ny)],
          derivatives, sums);
      const std::size_t offset = row_len * row_index;  // row_index = iy + ny * iz
      if (on.density) std::copy_n(sums.rho, row_len, grids.rho.values.data() + offset);
      if (on.gradient)
        for (std::size_t j = 0; j < row_len; ++j)
          grids.grad.values[offset + j] =
              std::sqrt(sums.gx[j] * sums.gx[j] + sums.gy[j] * sums.gy[j] + sums.gz[j] * sums.gz[j]);
      if (on.laplacian) std::copy_n(sums.lap, row_len, grids.lapl.values.data() + offset);
    }
  });
  if (pairs_within_cutoff)
    for (long long p : pairs) *pairs_within_cutoff += p;
  return grids;
}

}  // namespace qv
