// Subcommands of mirado-cli, one file each. Every one prints one JSON result (play: one
// per event) and returns the exit status: 0 done, 1 a record the game refuses (kifu),
// 2 bad input.
#pragma once

namespace mirado::cli {

int cmd_maps(const char* sfen);
int cmd_mate(const char* sfen);
int cmd_perft(const char* sfen, const char* depth);
int cmd_think(int argc, char** argv);  // argv[0] is the SFEN
int cmd_kifu(int argc, char** argv);   // argv[0] is the file
int cmd_analyse(int argc, char** argv);  // argv[0] is the file
int cmd_play(int argc, char** argv);   // argv[0] is the event file
int cmd_match(int argc, char** argv);  // options only
int cmd_openings(int argc, char** argv);  // argv[0] is the count

}  // namespace mirado::cli
