// The third move's two limits: it may not move the piece the turn's first move moved,
// nor take the piece its second move moved. One rule for everyone who plays a third
// move: the person, the status line that tells the person, the computer and its
// look-ahead; only who is let off the limits differs.
#pragma once

namespace mirado {

// The squares the turn's first two moves ended on, where their pieces stand.
struct Santeme {
  int ichite_x = 0, ichite_y = 0;
  int nite_x = 0, nite_y = 0;
};

// Which limit a third move breaks.
enum class SantemeIhan { nashi, ichite_no_koma, nite_no_koma };

// Who is let off the limits. A person and the look-ahead are, when the holder has only
// its king left or its king is in check before the third move (the king test then keeps
// the move safe); the computer's own levels never are, so their choices stay as they are.
enum class SantemeMenjo : bool { nashi = false, ari = true };

// Are the limits in force for a holder with `koma_su` pieces whose king is in check
// (`oute`) before the third move?
constexpr bool santeme_seigen_ari(SantemeMenjo menjo, int koma_su, bool oute) {
  return menjo == SantemeMenjo::nashi || (koma_su != 1 && !oute);
}

// A move from (fc, fr) moves the first move's piece. A drop never does: its source is a
// hand, not a square.
constexpr bool ichite_no_koma(const Santeme& s, int fc, int fr) {
  return fc == s.ichite_x && fr == s.ichite_y;
}
// A move to (tc, tr) takes the second move's piece.
constexpr bool nite_no_koma(const Santeme& s, int tc, int tr) {
  return tc == s.nite_x && tr == s.nite_y;
}

// The limit a third move from (fc, fr) to (tc, tr) breaks, the first move's piece first.
constexpr SantemeIhan santeme_ihan(const Santeme& s, int fc, int fr, int tc, int tr) {
  if (ichite_no_koma(s, fc, fr)) return SantemeIhan::ichite_no_koma;
  if (nite_no_koma(s, tc, tr)) return SantemeIhan::nite_no_koma;
  return SantemeIhan::nashi;
}

}  // namespace mirado
