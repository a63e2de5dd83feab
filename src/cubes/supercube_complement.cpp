#include "cubes/supercube_complement.h"

namespace vormel::cubes {

namespace {

// Walks the cofactors of one cover; the cubes on the stack are held relative to their region
// (inputs the region fixes read 11), and the supercube found so far grows in found_.
class ComplementWalk {
public:
    ComplementWalk(const InputCover& f, const Space& s) : stack_(f), full_(s.in_full) {}

    std::uint64_t run() {
        visit(0, stack_.size(), full_);
        return found_;
    }

private:
    void visit(std::size_t begin, std::size_t end, std::uint64_t region);

    InputCover stack_;
    std::uint64_t full_;
    std::uint64_t found_ = 0;
};

void ComplementWalk::visit(std::size_t begin, std::size_t end, std::uint64_t region) {
    if ((region & ~found_) == 0) return;  // nothing here can add to the supercube
    if (begin == end) {
        found_ |= region;
        return;
    }
    std::uint64_t zero = 0, one = 0, single = 0;
    for (std::size_t i = begin; i < end; ++i) {
        const std::uint64_t c = stack_[i];
        if (c == full_) return;
        const std::uint64_t lits = zero_literals(c) | one_literals(c);
        zero |= zero_literals(c);
        one |= one_literals(c);
        if ((lits & (lits - 1)) == 0) single |= lits;
    }
    const std::uint64_t binate = zero & one;
    if (binate == 0) {
        // Unate, and no cube is universal: the point contradicting every literal is uncovered; an
        // input's own value is uncovered as well unless some cube is that literal alone.
        const std::uint64_t lits = zero | one;
        found_ |= ((full_ & ~(lits * 3)) | (zero << 1) | one | ((lits & ~single) * 3)) & region;
        return;
    }
    const std::uint64_t low = busiest_input(stack_.data() + begin, stack_.data() + end, binate);
    for (int value : {0, 1}) {
        const std::size_t mark = stack_.size();
        append_cofactor(stack_, begin, end, low, value);
        visit(mark, stack_.size(), (region & ~(low * 3)) | (value ? low << 1 : low));
        stack_.resize(mark);
    }
}

}  // namespace

std::uint64_t input_supercube_of_complement(const InputCover& f, const Space& s) {
    return ComplementWalk(f, s).run();
}

}  // namespace vormel::cubes
