// The files the game keeps for a child (the settings, the half-built pictures): read whole and
// only when they are regular files, written whole through a temporary file renamed over the old
// one, so that a crash, a kill or a full disk never leaves a damaged file.
#pragma once
#include <string>

enum Kept_read { Kept_missing, Kept_read_whole, Kept_not_regular, Kept_unreadable };

// Reads at most `limit` bytes of the file into `bytes` (a longer file is cut there). Neither a
// link nor a FIFO is followed or waited on.
Kept_read Read_kept_file(const std::string& path, size_t limit, std::string& bytes);
// Writes the file whole (a folder, link or FIFO in its place is left alone). False with the
// reason in `error` when it could not.
bool Write_kept_file(const std::string& path, const std::string& bytes, std::string& error);
