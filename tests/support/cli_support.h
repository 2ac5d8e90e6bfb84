// Runs mirado-cli as a user would, from the tests.
#pragma once

#include <sys/wait.h>

#include <cstdio>
#include <string>

namespace mirado::test {

struct CliRun {
  int status = -1;
  std::string out;  // standard output (and standard error when asked for)
};

// `args` is passed to the shell as written, so quote what needs quoting.
inline CliRun run_cli(const std::string& args, bool with_stderr = true) {
  CliRun r;
  const std::string cmd = "'" + std::string(MIRADO_CLI) + "' " + args + (with_stderr ? " 2>&1" : "");
  FILE* p = ::popen(cmd.c_str(), "r");
  if (!p) return r;
  char buf[4096];
  for (std::size_t n; (n = std::fread(buf, 1, sizeof buf, p)) > 0;) r.out.append(buf, n);
  const int st = ::pclose(p);
  r.status = WIFEXITED(st) ? WEXITSTATUS(st) : -1;
  return r;
}

}  // namespace mirado::test
