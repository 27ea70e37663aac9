// Running PyMOL: the programs started and waited for, the interpreters asked for the module,
// and what a render run's messages and picture decide, with small stand-in interpreters.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <string>
#include <vector>

#include "support/png_writer.hpp"
#include "support/temp_dir.hpp"
#include "view/child_process.hpp"
#include "view/pymol_render.hpp"

namespace qv {
namespace {

using testing::read_file;
using testing::TempDir;
using testing::write_file;

void write_program(const std::string& path, const std::string& body) {
  write_file(path, "#!/bin/sh\n" + body);
  ::chmod(path.c_str(), 0755);
}

std::string here(const std::string& name) { return (std::filesystem::current_path() / name).string(); }

TEST(ChildProcess, StatusOutputTimeLimitAndMissingProgram) {
  TempDir dir;
  write_program("says", "echo \"out $1\"; echo err >&2; exit 3\n");
  ProgramRun run = run_program({here("says"), "one"}, "said.txt", 30.0);
  EXPECT_TRUE(run.started);
  EXPECT_FALSE(run.timed_out);
  EXPECT_EQ(run.exit_status, 3);
  EXPECT_EQ(read_file("said.txt"), "out one\nerr\n");

  write_program("sleeps", "exec sleep 30\n");
  run = run_program({here("sleeps")}, "said.txt", 0.2);
  EXPECT_TRUE(run.started);
  EXPECT_TRUE(run.timed_out);
  EXPECT_EQ(run.exit_status, -1);

  run = run_program({here("no-such-program")}, "said.txt", 5.0);
  EXPECT_FALSE(run.started);
}

TEST(PymolRender, InterpretersAskedInOrder) {
  struct Case {
    const char* path;
    std::vector<std::string> candidates;
  };
  const Case cases[] = {
      {"/root/.pyenv/shims:/usr/local/bin:/usr/bin:/bin",
       {"/usr/bin/python3", "/root/.pyenv/shims/python3", "/usr/local/bin/python3",
        "/bin/python3"}},
      {"", {"/usr/bin/python3", "./python3"}},
      {"/opt/conda/bin::/usr/bin", {"/usr/bin/python3", "/opt/conda/bin/python3", "./python3"}},
  };
  for (const Case& c : cases) EXPECT_EQ(python_candidates(c.path), c.candidates) << c.path;
}

TEST(PymolRender, FirstInterpreterThatImportsPymolIsTaken) {
  TempDir dir;
  write_program("without", "exit 1\n");  // "No module named pymol"
  write_program("with", "[ \"$1 $2\" = \"-c import pymol\" ] && exit 0; exit 1\n");
  EXPECT_EQ(find_pymol_python({here("missing"), here("without"), here("with"), here("without")}),
            here("with"));
  EXPECT_EQ(find_pymol_python({here("missing"), here("without")}), std::nullopt);
  EXPECT_EQ(find_pymol_python({}), std::nullopt);
}

// A stand-in for "python -m pymol -ckq SCRIPT -d 'png PATH, width=W, height=H, ray=1'": it
// checks its arguments, says `message`, copies `picture` to PATH and ends with `status`.
void fake_pymol(const std::string& message, const std::string& picture, int status) {
  write_program("python",
                "[ \"$1 $2 $3\" = \"-m pymol -ckq\" ] && [ \"$5\" = \"-d\" ] || exit 9\n"
                "[ -r \"$4\" ] || exit 8\n"
                "out=${6#png }; out=${out%%,*}\n"
                "echo \"" + message + "\"\n" +
                (picture.empty() ? "" : "cp " + picture + " \"$out\"\n") +
                "exit " + std::to_string(status) + "\n");
}

TEST(PymolRender, WhatTheRunSaysAndLeavesDecides) {
  struct Case {
    const char* what;
    std::string message;
    int width, height, status;
    bool made;
    std::string reason;
  };
  const Case cases[] = {
      {"picture made", " Ray: render time: 0.19 sec.", 12, 9, 0, true, ""},
      {"script lines echoed", "PyMOL>isosurface nci, Error_rdg, 0.5\n    6:cmd.load(Error.cube)",
       12, 9, 0, true, ""},
      {"selection error", " Selector-Error: Invalid selection name \\\"nci\\\".", 12, 9, 0,
       false, "PyMOL reported: Selector-Error: Invalid selection name \"nci\"."},
      {"python exception", "FileNotFoundError: [Errno 2] No such file", 12, 9, 0, false,
       "PyMOL reported: FileNotFoundError: [Errno 2] No such file"},
      {"error in the script", " Error: Map object \\\"rdg\\\" not found", 12, 9, 0, false,
       "PyMOL reported: Error: Map object \"rdg\" not found"},
      {"python traceback", "Traceback (most recent call last):", 12, 9, 0, false,
       "PyMOL reported: Traceback (most recent call last):"},
      {"wrong size", "", 10, 9, 0, false, "PyMOL wrote no picture of 12 x 9 pixels"},
      {"no picture", "", 0, 0, 0, false, "PyMOL wrote no picture of 12 x 9 pixels"},
      {"failed", "", 12, 9, 1, false, "PyMOL ended with exit status 1"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TempDir dir;
    write_file("scene.pml", "# scene\n");
    std::string picture;
    if (c.width > 0) {
      write_file("made.png", testing::solid_png(c.width, c.height, 255, 255, 255));
      picture = here("made.png");
    }
    fake_pymol(c.message, picture, c.status);
    const PymolPicture p = render_pymol_script(here("python"), "scene.pml", 12, 9);
    EXPECT_EQ(p.made, c.made);
    EXPECT_EQ(p.reason, c.reason);
    if (c.made) {
      EXPECT_EQ(p.png, read_file("made.png"));
    }
  }
}

TEST(PymolRender, RunOverTheTimeLimitIsStopped) {
  TempDir dir;
  write_file("scene.pml", "# scene\n");
  write_program("python", "exec sleep 30\n");
  const PymolPicture p = render_pymol_script(here("python"), "scene.pml", 12, 9, 0.3);
  EXPECT_FALSE(p.made);
  EXPECT_EQ(p.reason, "PyMOL was still running after 0.3 s and was stopped");
}

}  // namespace
}  // namespace qv
