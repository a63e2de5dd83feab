#include "model/cube_text.h"

namespace vormel {

namespace {
std::string render(const std::uint8_t* cube, int count, char dash) {
    std::string text(static_cast<std::size_t>(count), dash);
    for (int i = 0; i < count; ++i) {
        if (cube[i] == 0) text[i] = '0';
        else if (cube[i] == 1) text[i] = '1';
    }
    return text;
}
}  // namespace

std::string cube_text(const std::uint8_t* cube, int count) { return render(cube, count, '-'); }
std::string cube_text_dotted(const std::uint8_t* cube, int count) { return render(cube, count, '.'); }

}  // namespace vormel
