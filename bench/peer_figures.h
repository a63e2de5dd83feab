#pragma once
#include <map>
#include <string>

namespace vormel::bench {

// The peer figures table (tab separated, a header line, one row per file): file -> column -> value.
using PeerTable = std::map<std::string, std::map<std::string, std::string>>;

// An unreadable file gives an empty table.
PeerTable read_peer_figures(const std::string& path);
// "-" when the file or the column is missing.
std::string peer(const PeerTable& table, const std::string& file, const std::string& column);

}  // namespace vormel::bench
