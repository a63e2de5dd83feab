#include "run/report_files.h"

#include <cstdio>
#include <fstream>

#include "report/work_area.h"

namespace vormel {

namespace {
template <typename Write>
bool write_atomically(const std::string& path, Write write) {
    const std::string temporary = path + ".part";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        if (!out) return false;
        write(out);
        out.flush();
        if (!out) {
            out.close();
            std::remove(temporary.c_str());
            return false;
        }
    }
    if (std::rename(temporary.c_str(), path.c_str()) != 0) {
        std::remove(temporary.c_str());
        return false;
    }
    return true;
}
}  // namespace

bool write_report_files(const WorkArea& area, const std::string& path) {
    return write_atomically(path, [&](std::ostream& out) { area.write_plain(out); }) &&
           write_atomically(path + ".rtf", [&](std::ostream& out) { area.write_rich(out); });
}

bool write_text_file(const std::string& path, std::string_view text) {
    return write_atomically(path, [&](std::ostream& out) { out.write(text.data(), static_cast<std::streamsize>(text.size())); });
}

}  // namespace vormel
