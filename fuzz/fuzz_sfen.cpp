// The SFEN reader of mirado-cli, then what the tool does with a position it accepts:
// the influence maps and the mate tests. An accepted position prints back to SFEN
// that reads as the same position.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "rules/kiki.h"
#include "kyokumen_kensa.h"
#include "rules/sfen.h"
#include "rules/tsumi.h"
#include "scratch.h"

namespace {

using namespace mirado;
using mirado::fuzz::hitsuyou;

void tsumi_kensa(const SfenPosition& sp) {
  for (int side = 0; side < 2; ++side) {
    Kyokumen p = sp.pos;
    static_cast<void>(side == 0 ? tsumi_sita(p) : tsumi_ue(p));
    hitsuyou(test::same_position(p, sp.pos) ? "" : "the mate test changed the position", "tsumi");
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  SfenPosition sp;
  std::string error;
  if (!parse_sfen(text, sp, error)) {
    hitsuyou(error.empty() ? "refused without a reason" : "", "parse_sfen");
    return 0;
  }
  hitsuyou(kyokumen_fusei(sp.pos), "parse_sfen");
  const std::string again = to_sfen(sp.pos, sp.teban_sita == 1, sp.move_number);
  SfenPosition sp2;
  hitsuyou(parse_sfen(again, sp2, error) ? "" : "printed SFEN does not read back: " + again + " (" + error + ")",
           "to_sfen");
  hitsuyou(test::same_position(sp.pos, sp2.pos) && sp.teban_sita == sp2.teban_sita &&
                   sp.move_number == sp2.move_number
               ? ""
               : "printed SFEN reads as another position: " + again,
           "to_sfen");
  tsumi_kensa(sp);
  return 0;
}
