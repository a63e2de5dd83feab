#include "cubes/supercube_complement.h"

namespace vormel::cubes {
inline namespace VORMEL_CUBE_CLASS {

namespace {

// Walks the cofactors of one cover; the cubes on the stack are held relative to their region
// (inputs the region fixes read 11), and the supercube found so far grows in found_.
class ComplementWalk {
public:
    ComplementWalk(const InputCover& f, const InBits& full) : stack_(f), full_(full) {}

    InBits run() {
        visit(0, stack_.size(), full_);
        return found_;
    }

private:
    void visit(std::size_t begin, std::size_t end, const InBits& region);
    void take_groups(std::size_t begin, std::size_t end, const InBits& region, const std::vector<InBits>& groups);

    static constexpr long kNodesBeforeGroups = 16;

    InputCover stack_;
    InBits full_;
    InBits found_;
    long nodes_ = 0;
};

void ComplementWalk::visit(std::size_t begin, std::size_t end, const InBits& region) {
    if ((region & ~found_).none()) return;  // nothing here can add to the supercube
    if (begin == end) {
        found_ |= region;
        return;
    }
    InBits zero, one, single;
    for (std::size_t i = begin; i < end; ++i) {
        const InBits c = stack_[i];
        if (c == full_) return;
        const InBits lits = zero_literals(c) | one_literals(c);
        zero |= zero_literals(c);
        one |= one_literals(c);
        if (lits.count() <= 1) single |= lits;
    }
    const InBits binate = zero & one;
    if (binate.none()) {
        // Unate, and no cube is universal: the point contradicting every literal is uncovered; an
        // input's own value is uncovered as well unless some cube is that literal alone.
        const InBits lits = zero | one;
        found_ |= ((full_ & ~pairs_of(lits)) | (zero << 1) | one | pairs_of(lits & ~single)) & region;
        return;
    }
    // Cubes in groups on disjoint inputs: the complement is the product of the groups' complements,
    // and its supercube the product of theirs (empty when one group is a tautology). Looking for
    // groups costs a pass per node: only deep walks, where the groups' leaves multiply, pay for it.
    if (++nodes_ > kNodesBeforeGroups) {
        const std::vector<InBits> groups = input_groups(stack_.data() + begin, stack_.data() + end);
        if (groups.size() > 1) {
            take_groups(begin, end, region, groups);
            return;
        }
    }
    const InBits low = busiest_input(stack_.data() + begin, stack_.data() + end, binate);
    for (int value : {0, 1}) {
        const std::size_t mark = stack_.size();
        append_cofactor(stack_, begin, end, low, value);
        visit(mark, stack_.size(), (region & ~pairs_of(low)) | (value ? low << 1 : low));
        stack_.resize(mark);
    }
}

void ComplementWalk::take_groups(std::size_t begin, std::size_t end, const InBits& region, const std::vector<InBits>& groups) {
    InBits product = full_;
    for (const InBits& group : groups) {
        InputCover part;
        for (std::size_t i = begin; i < end; ++i) {
            if ((literal_inputs(stack_[i]) & ~group).none()) part.push_back(stack_[i]);
        }
        const InBits inputs = pairs_of(group);
        const InBits own = ComplementWalk(part, full_).run();
        if ((own & inputs).none()) return;  // this group covers everything
        product = (product & ~inputs) | (own & inputs);
    }
    found_ |= product & region;
}

}  // namespace

InBits input_supercube_of_complement(const InputCover& f, const Space& s) {
    return ComplementWalk(f, s.in_full).run();
}

}  // namespace VORMEL_CUBE_CLASS
}  // namespace vormel::cubes
