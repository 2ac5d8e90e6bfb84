// The behaviour record: event scripts played by mirado-cli play and the computer's turns
// of mirado-cli think, compared byte for byte with what they printed when recorded
// (tests/golden). Any change in what the game shows, sounds or keeps fails here with the
// first line that differs. The commands run in this process, as the program runs them
// (the command-line parsing itself is checked by the cli tests).
//
// MIRADO_GOLDEN_UPDATE=1 writes what the program prints now as the new record instead.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "rules/sfen.h"
#include "game_kensa.h"
#include "temp_cwd.h"

namespace mirado {
namespace {

const std::string kDir = MIRADO_GOLDEN_DIR;

bool updating() {
  const char* v = std::getenv("MIRADO_GOLDEN_UPDATE");
  return v && *v && std::string(v) != "0";
}

std::string read_text(const std::string& path) {
  if (path.size() < 3 || path.substr(path.size() - 3) != ".gz") return test::read_bytes(path);
  std::string out;
  FILE* p = ::popen(("gzip -dc '" + path + "'").c_str(), "r");
  if (!p) return out;
  char buf[65536];
  for (std::size_t n; (n = std::fread(buf, 1, sizeof buf, p)) > 0;) out.append(buf, n);
  ::pclose(p);
  return out;
}

void write_gz(const std::string& path, const std::string& text) {
  FILE* p = ::popen(("gzip -9n > '" + path + "'").c_str(), "w");
  ASSERT_NE(p, nullptr);
  std::fwrite(text.data(), 1, text.size(), p);
  ASSERT_EQ(::pclose(p), 0);
}

// A file of sections, each opened by a line "#= NAME".
struct Section {
  std::string name, body;
};

std::vector<Section> sections(const std::string& text) {
  std::vector<Section> out;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) {
    if (line.rfind("#= ", 0) == 0) out.push_back({line.substr(3), {}});
    else if (!out.empty()) out.back().body += line + "\n";
  }
  return out;
}

std::string join(const std::vector<Section>& s) {
  std::string out;
  for (const Section& x : s) out += "#= " + x.name + "\n" + x.body;
  return out;
}

std::string line_at(const std::string& text, std::size_t n) {
  std::istringstream in(text);
  std::string line;
  for (std::size_t i = 0; i <= n; ++i)
    if (!std::getline(in, line)) return "(no line)";
  return line;
}

// The first line where the two texts part, as a message.
std::string first_difference(const std::string& want, const std::string& got) {
  std::size_t line = 0;
  for (std::size_t i = 0; i < want.size() && i < got.size() && want[i] == got[i]; ++i) line += want[i] == '\n';
  return "line " + std::to_string(line + 1) + "\n  recorded: " + line_at(want, line) +
         "\n  now:      " + line_at(got, line);
}

// Compares every section with the record (or rewrites the record).
void compare(const std::string& record, const std::vector<Section>& now) {
  const std::string path = kDir + "/" + record;
  if (updating()) return write_gz(path, join(now));
  const std::vector<Section> want = sections(read_text(path));
  ASSERT_EQ(want.size(), now.size()) << record << " has another number of sections";
  int shown = 0;
  for (std::size_t i = 0; i < want.size(); ++i) {
    ASSERT_EQ(want[i].name, now[i].name);
    if (want[i].body == now[i].body) continue;
    ADD_FAILURE() << record << ", " << want[i].name << ": " << first_difference(want[i].body, now[i].body);
    if (++shown == 5) return;
  }
}

// What `mirado-cli play` prints for the script, errors included, and its exit status.
// Its errors come before any event line, so the order is that of a terminal.
std::string play(const std::string& script) {
  test::write_bytes("events.txt", script);
  std::ostringstream out, err;
  const int status = cli::cmd_play("events.txt", out, err);
  return err.str() + out.str() + "#exit " + std::to_string(status) + "\n";
}

// What `mirado-cli think SFEN --level L --candidates` prints, and its exit status.
std::string think(const std::string& sfen, int level) {
  cli::ThinkOptions o;
  std::string error;
  if (!parse_sfen(sfen, o.sp, error)) return "bad position: " + error + "\n#exit 2\n";
  o.level = level;
  o.candidates = true;
  std::ostringstream out;
  const int status = cli::cmd_think(o, out);
  return out.str() + "#exit " + std::to_string(status) + "\n";
}

TEST(Golden, TheRunnerTestScriptsPlayAsRecorded) {
  test::TempCwd cwd;  // one folder: a later script loads the record an earlier one saved
  std::vector<Section> now;
  for (const Section& s : sections(read_text(kDir + "/runner.events"))) now.push_back({s.name, play(s.body)});
  compare("runner.jsonl.gz", now);
}

TEST(Golden, RandomGamesPlayAsRecorded) {
  std::vector<Section> now;
  for (const Section& s : sections(read_text(kDir + "/random.events.gz"))) {
    test::TempCwd cwd;
    now.push_back({s.name, play(s.body)});
    // Every record a game saved loads again, checked by the rules of the game.
    EXPECT_EQ(test::kaita_kifu_fusei(cwd.dir()), "") << s.name;
  }
  compare("random.jsonl.gz", now);
}

TEST(Golden, TheComputersTurnsOnTheBenchmarkPositionsAreAsRecorded) {
  std::ifstream in(MIRADO_BENCH_POSITIONS);
  std::vector<Section> now;
  for (std::string sfen; std::getline(in, sfen);) {
    if (sfen.empty() || sfen[0] == '#') continue;
    for (int level = 1; level <= 3; ++level)
      now.push_back({"level " + std::to_string(level) + " " + sfen, think(sfen, level)});
  }
  ASSERT_GT(now.size(), 300u);
  compare("think.jsonl.gz", now);
}

}  // namespace
}  // namespace mirado
