// mirado-cli kifu FILE [--write OUT | --list]: loads a record file as the game does,
// steps through every entry and prints the header, the entries and the position after
// each step; with --write saves the loaded record again. A record the window would
// refuse (an entry that is no legal move in its place) is reported with its line and
// exits 1, the JSON naming the same line.
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <string>

#include <nlohmann/json.hpp>

#include "cli/commands.h"
#include "kifu/ichiran.h"
#include "kifu/kifu_file.h"
#include "rules/sfen.h"
#include "taikyoku/chuudan.h"
#include "taikyoku/taikyoku.h"

namespace {

using nlohmann::json;

json entry_json(const mirado::KifuEntry& e) {
  auto t = [](double v) { return static_cast<long>(v); };  // read back from whole-second fields
  // A drop's source as the file names it: the row of the hand cell.
  return json::array({e.te.fc, mirado::moto_gyou(e.te.fc, e.te.fr), e.te.tc, e.te.tr, e.te.koma,
                      e.moto_koma, e.tori_koma,
                      t(e.sita_mae), t(e.sita_ato), t(e.ue_mae), t(e.ue_ato)});
}

// The rows of the move list beside the board, as the window shows and copies them.
int print_list(const mirado::KifuFile& f) {
  mirado::Taikyoku t = mirado::handicap_kyoku(mirado::kifu_handicap(f));
  t.kifu_yomikomi(f.entries);
  // Its turns as the rules of play divide it, as the window's list takes them.
  const std::vector<int> turns = mirado::turn_hajime(f.entries, {mirado::kifu_handicap(f), true});
  for (const std::string& row : mirado::kifu_ichiran(t.kifu(), t.kifu().kifu_nagasa, t.sita_sente(),
                                                     t.pos(), turns))
    std::cout << row << "\n";
  return 0;
}

}  // namespace

namespace mirado::cli {

int cmd_kifu(const KifuOptions& o) {
  const std::string& path = o.path;
  const std::string& out_path = o.out_path;
  const bool list = o.list;

  // Replacing a device or a FIFO with a record (as root, /dev/null) is never what was meant.
  std::error_code ec;
  if (!out_path.empty() && std::filesystem::exists(out_path, ec) && !std::filesystem::is_regular_file(out_path, ec))
    return fail("kifu", "cannot write " + out_path + ": not a regular file");
  KifuFile f;
  std::string error;
  if (!read_kifu_file(path, f, error)) return fail("kifu", error);
  // Checked by the rules of the game, as the window checks a record it loads.
  const KifuKensa kensa = kifu_kensa(f);
  const std::string& refused = kensa.naze;
  if (!refused.empty()) fail("kifu", refused, 1);
  if (list) return refused.empty() ? print_list(f) : 1;

  json out;
  out["title"] = f.title;
  out["line2"] = f.line2;
  out["line3"] = f.line3;
  out["entries"] = json::array();
  for (const KifuEntry& e : f.entries) out["entries"].push_back(entry_json(e));
  out["positions"] = json::array();
  out["error"] = nullptr;
  if (!refused.empty()) out["error"] = {{"line", kensa.gyou}, {"message", refused}};
  // Stepped as the game steps a loaded record with 進, up to the entry refused.
  Taikyoku t = handicap_kyoku(kifu_handicap(f));
  t.kifu_yomikomi(f.entries);
  while (t.kifu().kifu_ichi < t.kifu().kifu_nagasa) {
    const int line = t.kifu().at(t.kifu().kifu_ichi + 1).gyou;
    if (!refused.empty() && line == kensa.gyou) break;
    if (!t.kifu_susumu().empty()) break;
    out["positions"].push_back(to_sfen(t.pos(), t.teban() == t.sita_gawa(), t.tesuu() + 1));
  }

  if (!out_path.empty() && refused.empty()) {
    int bad = 0;
    const auto bytes = encode_kifu(f.title, f.line2, f.line3, f.entries, bad);
    if (!bytes) return fail("kifu", "header line " + std::to_string(bad) + " cannot be written in code page 932");
    if (!write_file_atomically(out_path, *bytes, error)) return fail("kifu", "cannot write: " + error);
  }
  std::cout << out.dump() << "\n";
  return refused.empty() ? 0 : 1;
}

}  // namespace mirado::cli
