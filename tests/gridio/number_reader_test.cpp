// The run readers that take whole lines of written fields at fixed offsets must give exactly
// what reading the same run one number at a time gives: the same bits, or the same failure.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "gridio/fast_fields.hpp"
#include "gridio/line_reader.hpp"
#include "gridio/number_reader.hpp"
#include "gridio/text_error.hpp"
#include "support/temp_dir.hpp"

namespace qv {
namespace {

// The bits of the values read, or the message of the failure.
struct Outcome {
  std::vector<std::uint64_t> bits;
  std::string failure;
  bool operator==(const Outcome&) const = default;
};

enum class Way { one_by_one, cube_run, cube_run_strided, grd_run };

// Reads two runs of `n` values each from `text`, the way given.
Outcome read_runs(const std::string& text, std::size_t n, Way way) {
  auto lines = LineReader::from_text(text, "run.txt");
  NumberReader in(*lines);
  Outcome out;
  constexpr std::size_t kStride = 3;
  std::vector<double> v(2 * n * kStride, 7.0);
  try {
    for (int run = 0; run < 2; ++run) {
      double* first = v.data() + run * n * kStride;
      switch (way) {
        case Way::one_by_one:
          in.begin_run("a value");
          for (std::size_t i = 0; i < n; ++i) first[i] = in.next_value("a value");
          break;
        case Way::cube_run: in.cube_run(first, n, 1, "a value"); break;
        case Way::cube_run_strided: in.cube_run(first, n, kStride, "a value"); break;
        case Way::grd_run: in.grd_run(first, n, "a value"); break;
      }
      const std::size_t stride = way == Way::cube_run_strided ? kStride : 1;
      for (std::size_t i = 0; i < n; ++i)
        out.bits.push_back(std::bit_cast<std::uint64_t>(first[i * stride]));
    }
  } catch (const TextError& e) {
    out.failure = e.what();
  }
  return out;
}

struct Case {
  const char* name;
  std::string text;
  std::size_t n;  // values per run
};

const Case kCases[] = {
    {"cube layout, run over two lines",
     " 1.23456E-05 -9.87654E+02  0.00000E+00 -0.00000E+00  1.00000E-99  9.99999E+99\n"
     " 5.00000E-01\n"
     " 2.50000E-22 -1.00000E+22\n 3.14159E+00 -2.71828E-10  6.02214E+23  1.60218E-19\n"
     " 1.00000E+00\n",
     7},
    {"cube layout, empty line after each run",
     " 1.00000E+00  2.00000E+00\n\n  \n 3.00000E+00  4.00000E+00\n\n", 2},
    {"fields that are not the written layout",
     " +1.00000E+00  1.00000D-05  1.00000-005\t2.00000E+00 1.5 -7\n"
     "  1.00000E+001  1.00000E+00 12.00000E+00  1.0000E+00   1.000000E+00  1e5\n",
     6},
    {"a value that is not finite after good fields",
     " 1.00000E+00  1.00000+999  2.00000E+00\n 1.00000E+00  1.00000E+00  1.00000E+00\n", 3},
    {"a malformed field after good fields",
     " 1.00000E+00  1.00000E+0x  2.00000E+00\n 1.00000E+00  1.00000E+00  1.00000E+00\n", 3},
    {"a field running into the next", " 1.00000E+00 2.00000E+00x 3.00000E+00\n", 3},
    {"a carriage return inside the line", " 1.00000E+00\r 2.00000E+00\n 3.00000E+00\n", 3},
    {"NaN among written fields", " 1.00000E+00          NaN\n 1.00000E+00  1.00000E+00\n", 2},
    {"a truncated run", " 1.00000E+00  2.00000E+00\n 3.00000E+00\n", 2},
    {"grd layout, run over two lines",
     " -0.1234567890E-01  0.9999999999E+99  0.0000000000E+00 -0.0000000000E+00\n"
     "  0.1000000000E-99  0.4558253591E-05\n"
     "  0.9523254590E+00  0.2806003485E+01 -0.3939284280E+02 -0.1064521202E+04\n"
     " -0.1724477632E+05 -0.2367203651E+06\n",
     6},
    {"fields that are not the grd layout",
     "  .1234567890E-01 +0.1234567890E-01  0.1234567890D-01  0.1234567890-001\n"
     " 0.1234567890E-01  0.12345678901E-01  1.1234567890E-01  0.1234567890E+01x\n"
     "  0.1234567890E+01  0.1234567890E+01\n",
     4},
    {"grd value that is not finite", "  0.1000000000E+01  0.1000000000+999\n", 2},
};

TEST(NumberReaderRuns, FixedFieldRunsReadAsOneNumberAtATime) {
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    const Outcome expected = read_runs(c.text, c.n, Way::one_by_one);
    for (Way way : {Way::cube_run, Way::cube_run_strided, Way::grd_run})
      EXPECT_EQ(read_runs(c.text, c.n, way), expected) << static_cast<int>(way);
  }
}

// Runs of `n` values read from a file, through the line reader's blocks of 1 MB: the
// whole-line reader stops where a block ends inside a line and takes up again after it.
Outcome read_file_runs(const std::string& path, std::size_t runs, std::size_t n, Way way) {
  auto lines = LineReader::open(path);
  NumberReader in(*lines);
  Outcome out;
  std::vector<double> v(n);
  try {
    for (std::size_t run = 0; run < runs; ++run) {
      if (way == Way::one_by_one) {
        in.begin_run("a value");
        for (double& x : v) x = in.next_value("a value");
      } else if (way == Way::grd_run) {
        in.grd_run(v.data(), n, "a value");
      } else {
        in.cube_run(v.data(), n, 1, "a value");
      }
      for (double x : v) out.bits.push_back(std::bit_cast<std::uint64_t>(x));
    }
  } catch (const TextError& e) {
    out.failure = e.what();
  }
  return out;
}

TEST(NumberReaderRuns, FilesLargerThanOneBlock) {
  testing::TempDir dir;
  constexpr std::size_t kRuns = 3000, kValues = 200;  // 2.5 MB of cube lines, 3.5 MB of grd
  std::mt19937_64 rng(99);
  for (Way way : {Way::cube_run, Way::grd_run}) {
    char* (*put)(char*, double) = way == Way::cube_run ? put_es13_5 : put_e18_10;
    std::string text;
    for (std::size_t run = 0; run < kRuns; ++run) {
      for (std::size_t i = 0; i < kValues; ++i) {
        char field[32];
        const double x =
            std::ldexp(static_cast<double>(rng() >> 11), -60 - static_cast<int>(rng() % 30));
        text.append(field, put(field, (rng() & 1) ? -x : x));
        if (i % 6 == 5 || i + 1 == kValues) text += (run % 7 == 3) ? "\r\n" : "\n";
      }
      if (run % 500 == 17) text += "\n  \n";  // empty lines between runs
      if (run % 900 == 5) text += "  1.5  -2  3.25E-01\n";  // another layout inside a run
    }
    const std::string path = way == Way::cube_run ? "big.cube" : "big.grd";
    testing::write_file(path, text);
    SCOPED_TRACE(path);
    const Outcome expected = read_file_runs(path, kRuns, kValues, Way::one_by_one);
    ASSERT_EQ(expected.failure, "");
    EXPECT_EQ(read_file_runs(path, kRuns, kValues, way), expected);
    // One run more than the file holds: the same line in the message.
    const Outcome past_end = read_file_runs(path, kRuns + 1, kValues, way);
    EXPECT_EQ(past_end.failure, read_file_runs(path, kRuns + 1, kValues, Way::one_by_one).failure);
    EXPECT_NE(past_end.failure.find("end of file"), std::string::npos) << past_end.failure;
    // A malformed field far into the file names its line.
    const std::size_t at = text.find('\n', text.size() * 3 / 4) + 3;
    text[at] = 'x';
    testing::write_file(path, text);
    const Outcome bad = read_file_runs(path, kRuns, kValues, way);
    EXPECT_EQ(bad, read_file_runs(path, kRuns, kValues, Way::one_by_one));
    EXPECT_NE(bad.failure.find("malformed number"), std::string::npos) << bad.failure;
  }
}

// The outcomes themselves, so that the comparison above cannot pass with both ways broken.
TEST(NumberReaderRuns, WrittenFieldsGiveTheirValuesAndBadFieldsTheirLine) {
  const Outcome good = read_runs(" 1.50000E+00 -2.50000E-01\n\n 1.00000E-99 -0.00000E+00\n", 2,
                                 Way::cube_run_strided);
  ASSERT_EQ(good.failure, "");
  const std::vector<double> want = {1.5, -0.25, 1e-99, -0.0};
  ASSERT_EQ(good.bits.size(), want.size());
  for (std::size_t i = 0; i < want.size(); ++i)
    EXPECT_EQ(good.bits[i], std::bit_cast<std::uint64_t>(want[i])) << i;

  const Outcome grd = read_runs(" -0.1234567890E-01\n  0.5000000000E+00\n", 1, Way::grd_run);
  ASSERT_EQ(grd.failure, "");
  EXPECT_EQ(grd.bits[0], std::bit_cast<std::uint64_t>(-0.01234567890));
  EXPECT_EQ(grd.bits[1], std::bit_cast<std::uint64_t>(0.5));

  const Outcome bad = read_runs(" 1.00000E+00\n 1.00000E+00  1.00000E+0x\n", 3, Way::cube_run);
  EXPECT_EQ(bad.failure,
            "file \"run.txt\", line 2: malformed number \"1.00000E+0x\"; expected a value");
}

}  // namespace
}  // namespace qv
