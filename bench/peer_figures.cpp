#include "peer_figures.h"

#include <fstream>
#include <sstream>
#include <vector>

namespace vormel::bench {

PeerTable read_peer_figures(const std::string& path) {
    PeerTable table;
    std::ifstream in(path);
    std::string header_line;
    if (!std::getline(in, header_line)) return table;
    std::vector<std::string> header;
    std::istringstream hs(header_line);
    for (std::string field; std::getline(hs, field, '\t');) header.push_back(field);
    for (std::string line; std::getline(in, line);) {
        std::istringstream ls(line);
        std::vector<std::string> fields;
        for (std::string field; std::getline(ls, field, '\t');) fields.push_back(field);
        if (fields.empty()) continue;
        for (std::size_t i = 0; i < fields.size() && i < header.size(); ++i) table[fields[0]][header[i]] = fields[i];
    }
    return table;
}

std::string peer(const PeerTable& table, const std::string& file, const std::string& column) {
    const auto row = table.find(file);
    if (row == table.end()) return "-";
    const auto value = row->second.find(column);
    return value == row->second.end() ? "-" : value->second;
}

}  // namespace vormel::bench
