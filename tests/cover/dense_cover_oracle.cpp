#include "cover/dense_cover_oracle.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "model/cube_text.h"
#include "model/problem.h"
#include "primes/prime_store.h"
#include "report/number_format.h"
#include "report/run_context.h"

namespace cover_oracle {

using namespace vormel;

namespace {

constexpr int kNone = 99999999;

struct Dense {
    RunContext& ctx;
    const TermTable& pt;
    int n = 0;
    int P = -1;
    int K = -1;
    double alpha = 1;
    double beta = 0;
    std::vector<int> line;                // minterm k -> expanded line
    std::vector<std::vector<int>> cell;   // [p][k]: 0, 1, 255
    std::vector<int> count, state, ess, lit, pchg, mchg;
    int MTmin = kNone;
    int done = -1;
    TermTable& result;
    int R = -1;

    std::string cube(int p) const { return cube_text(pt.x(p), n); }
    std::string mcube(int k) const {
        std::string s;
        for (int i = 0; i < n; ++i) s += ((line[k] >> (n - 1 - i)) & 1) ? '1' : '0';
        return s;
    }

    void display() {
        auto& r = ctx.report;
        if (P > 990) {
            r.display_blank();
            r.text_red(0);
            r.display_text("*** Matrix too large for display ...", 1);
            r.display_blank();
            return;
        }
        r.display_text("     MT" + std::string(n - 1, ' ') + "PI :", 0);
        for (int p = 0; p <= P; ++p) r.display_text(format_mask("###", p), 0);
        r.display_text("  MTcover", 1);
        r.display_text("   " + std::string(n + 8, '-'), 0);
        for (int p = 0; p <= P; ++p) r.display_text(ess[p] ? "-E-" : "---", 0);
        r.display_text("---------", 1);
        for (int k = 0; k <= K; ++k) {
            if (r.interrupted()) break;
            r.display_text("  " + format_mask("#####", line[k]) + " ", 0);
            r.display_text(mcube(k) + " :", 0);
            for (int p = 0; p <= P; ++p) r.display_text(cell[p][k] == 1 ? "  #" : cell[p][k] == 0 ? "  -" : "  /", 0);
            r.display_text("    ", 0);
            r.display_text(count[k] == -1 ? std::string(" -") : STR(count[k] + 1), 1);
        }
        r.display_text("   " + std::string((P + 1) * 3 + n + 17, '-'), 1);
        r.display_text(std::string(n + 1, ' ') + "numLit  :", 0);
        for (int p = 0; p <= P; ++p) r.display_text(format_mask("###", lit[p] + 1), 0);
        r.display_text(" MTmin=" + (MTmin >= kNone ? std::string("done") : TRIM(MTmin + 1)), 1);
        r.display_text(std::string(n + 1, ' ') + "PIcover :", 0);
        for (int p = 0; p <= P; ++p) r.display_text(state[p] == -1 ? "  -" : state[p] == -2 ? "   " : "  #", 0);
        r.display_blank();
        r.flush_display(0);
        r.display_blank();
        if (ctx.level() == 3) r.ask_reset();
    }

    void count_cover() {
        for (int p = 0; p <= P; ++p) ess[p] = 0, state[p] = -2;
        done = -1;
        MTmin = kNone;
        for (int k = 0; k <= K; ++k) {
            int c = 0, last = -1;
            for (int p = 0; p <= P; ++p) {
                if (cell[p][k] == 1) ++c, last = p, state[p] = 0;
            }
            count[k] = c - 1;
            if (c >= 1) MTmin = std::min(MTmin, c - 1), done = 0;
            if (c == 1) ess[last] = -1;
        }
    }

    void recalc() {
        MTmin = kNone;
        done = -1;
        for (int k = 0; k <= K; ++k) {
            if (count[k] >= 0) MTmin = std::min(MTmin, count[k]);
        }
        if (MTmin < kNone) done = 0;
    }

    int weights() {
        std::vector<double> w(K + 1, 0);
        for (int k = 0; k <= K; ++k) {
            if (count[k] < 0) continue;
            double s = 0;
            for (int p = 0; p <= P; ++p) {
                if (state[p] >= 0 && cell[p][k] == 1) s += alpha + beta * lit[p];
            }
            w[k] = 1 / s;
        }
        int best = -1;
        double bw = 0;
        for (int p = 0; p <= P; ++p) {
            if (state[p] < 0) continue;
            double W = 0;
            for (int k = 0; k <= K; ++k) {
                if (count[k] >= 0 && cell[p][k] == 1) W += w[k];
            }
            if (W > bw) bw = W, best = p;
        }
        return best;
    }

    void store_erase(const std::string& tag, int p) {
        ++R;
        result.reserve_rows(R + 1);
        std::copy_n(pt.x(p), n, result.x(R));
        int c = 0;
        for (int k = 0; k <= K; ++k) {
            if (count[k] < 0 || cell[p][k] == 1) ++c;
        }
        const double prog = std::floor(1000.0 * c / (K + 1)) / 10;
        if (ctx.level() >= 1) ctx.window.set_status_line(" *** Select Cover: " + format_mask(" ###.#", prog) + " % done");
        if (ctx.level() >= 2) {
            const int limit = ctx.level() == 2 ? 18 : ctx.level() == 3 ? 1000 : 214748364;
            std::string s = " " + tag + " PI " + format_mask("####", p) + " =  " + cube(p) + "  covering       % with  MT";
            int num = 0;
            for (int k = 0; k <= K; ++k) {
                if (cell[p][k] == 1 && num < limit + 1) s += format_mask(" ###", line[k]), ++num;
            }
            if (num == limit + 1) s += " ...";
            const auto at = s.find("covering       %");
            s = s.substr(0, at + 9) + format_mask("###.#", prog) + s.substr(at + 14);
            if (lit[p] == -1) s += "    <-- trivial Function !";
            ctx.report.text_blue(1);
            ctx.report.display_text(s, 1);
            if (ctx.level() == 4) {
                ctx.report.display_blank();
                ctx.report.flush_display(0);
                ctx.report.ask_reset();
            }
        }
        for (int k = 0; k <= K; ++k) {
            if (count[k] < 0 || cell[p][k] != 1) continue;
            for (int q = 0; q <= P; ++q) {
                if (state[q] < 0 || cell[q][k] != 1) continue;
                --count[k];
                cell[q][k] = 255;
                pchg[q] = -1;
                for (int l = 0; l <= K; ++l) {
                    if (count[l] >= 0 && cell[q][l] == 1) mchg[l] = -1;
                }
            }
        }
        state[p] = -1;
        for (int q = 0; q <= P; ++q) {
            if (state[q] < 0) continue;
            bool any = false;
            for (int k = 0; k <= K; ++k) any = any || cell[q][k] == 1;
            if (!any) state[q] = -1;
        }
    }

    void green_pair(const std::string& what, int kept, const std::string& kc, int gone, const std::string& gc) {
        if (ctx.level() < 3) return;
        ctx.report.text_green(0);
        ctx.report.display_text("     " + what + " " + format_mask("####", kept) + " =  " + kc, 0);
        ctx.report.text_green(0);
        ctx.report.display_text("  dominating " + what + " " + format_mask("####", gone) + " =  " + gc, 1);
    }

    void drop_prime(int d, int kept) {
        green_pair("PI", kept, cube(kept), d, cube(d));
        for (int k = 0; k <= K; ++k) {
            if (count[k] >= 0 && cell[d][k] == 1) cell[d][k] = 255, --count[k], mchg[k] = -1;
        }
        state[d] = -1;
    }

    void drop_minterm(int d, int kept) {
        green_pair("MT", line[kept], mcube(kept), line[d], mcube(d));
        for (int q = 0; q <= P; ++q) {
            if (cell[q][d] == 1) cell[q][d] = 255, pchg[q] = -1;
        }
        count[d] = -1;
    }

    int absorption() {
        for (;;) {
            int changed = 0;
            for (int a = 0; a < P; ++a) {
                if (state[a] != 0) continue;
                for (int b = a + 1; b <= P; ++b) {
                    if (state[b] != 0 || state[a] != 0) continue;
                    if (!pchg[a] && !pchg[b]) continue;
                    bool ax = false, bx = false;
                    for (int k = 0; k <= K && !(ax && bx); ++k) {
                        if (count[k] < 0) continue;
                        const bool ca = cell[a][k] == 1, cb = cell[b][k] == 1;
                        if (ca && !cb) ax = true;
                        if (cb && !ca) bx = true;
                    }
                    if (ax && bx) continue;
                    changed = -1;
                    if (!bx) {
                        drop_prime(b, a);
                    } else {
                        drop_prime(a, b);
                        break;
                    }
                }
            }
            std::fill(pchg.begin(), pchg.end(), 0);
            if (changed) return -1;
            for (int k = 0; k < K; ++k) {
                if (count[k] < 0) continue;
                for (int l = k + 1; l <= K; ++l) {
                    if (count[l] < 0) continue;
                    if (!mchg[k] && !mchg[l]) continue;
                    bool kx = false, lx = false;
                    for (int q = 0; q <= P && !(kx && lx); ++q) {
                        if (state[q] == -1) continue;
                        const bool ck = cell[q][k] == 1, cl = cell[q][l] == 1;
                        if (ck && !cl) kx = true;
                        if (cl && !ck) lx = true;
                    }
                    if (kx && lx) continue;
                    changed = -1;
                    if (!lx) {
                        drop_minterm(k, l);
                        break;
                    }
                    drop_minterm(l, k);
                }
            }
            std::fill(mchg.begin(), mchg.end(), 0);
            if (!changed) return 0;
        }
    }

    void select() {
        count_cover();
        std::fill(pchg.begin(), pchg.end(), 0);
        std::fill(mchg.begin(), mchg.end(), 0);
        if (ctx.level() >= 3) {
            display();
            for (int p = 0; p <= P; ++p) {
                if (state[p] != -2) continue;
                ctx.report.text_green(0);
                ctx.report.display_text("     PI " + format_mask("####", p) + " =  " + cube(p) + "  not used (generated by DC-set)", 1);
            }
        }
        for (int p = 0; p <= P; ++p) {
            if (!ess[p]) continue;
            ess[p] = 0;
            store_erase("ESS", p);
            recalc();
            if (ctx.level() == 4) display();
            if (done) return;
        }
        const int removed = absorption();
        recalc();
        if (ctx.level() == 4 && removed) display();
        while (!done) {
            if (MTmin == 0) {
                int k = 0;
                while (count[k] != 0) ++k;
                int p = 0;
                while (cell[p][k] != 1) ++p;
                store_erase("SEC", p);
            } else {
                const int best = weights();
                if (best < 0) {
                    ctx.diag.show_error(" *** System Error: no Prime Implicant of positive weight left for " +
                                            TRIM(std::count_if(count.begin(), count.end(), [](int c) { return c >= 0; })) +
                                            " open Minterm(s); Cover not completed",
                                        0);
                    return;
                }
                store_erase("ALT", best);
            }
            recalc();
            absorption();
            recalc();
            if (ctx.level() == 4) display();
        }
    }
};

void cover_one(RunContext& ctx, const Problem& pr, int j, int v, const TermTable& pt, int P, TermTable& result, int& R,
               double alpha, double beta) {
    const std::string rest = " Covering Function y(" + TRIM(j) + "):  " + pr.ynames[j] + " =" + STR(v);
    auto head = [&] {
        ctx.report.display_heading(" *** Select Cover (1):" + rest);
        ctx.window.set_status_line(" *** Select Cover (1):");
        ctx.window.set_polarity_line(rest);
    };
    R = -1;
    if (P < 0) {
        if (ctx.level() >= 2) {
            head();
            ctx.report.text_red(1);
            ctx.report.display_text(" *** No Minterms to be covered", 1);
        }
        return;
    }
    Dense d{ctx, pt, pr.inputs(), P, -1, alpha, beta, {}, {}, {}, {}, {}, {}, {}, {}, kNone, -1, result, -1};
    for (int i = 0; i <= pr.extab.last; ++i) {
        if (pr.extab.y(i)[j] == v) d.line.push_back(i);
    }
    d.K = static_cast<int>(d.line.size()) - 1;
    if (ctx.level() == 1 && d.K > -1) {
        ctx.report.text_blue(1);
        ctx.report.display_text(format_mask("  ######", d.K + 1), 0);
        ctx.report.display_text("  MT and ", 0);
        ctx.report.text_blue(1);
        ctx.report.display_text(format_mask("######", P + 1), 0);
        ctx.report.display_text("  total PI covered by  ", 0);
    }
    if (ctx.level() >= 2) {
        head();
        if (d.K == -1) {
            ctx.report.text_red(0);
            ctx.report.display_text(" *** No Minterms to be covered", 1);
            return;
        }
    }
    const int n = d.n;
    d.cell.assign(P + 1, std::vector<int>(d.K + 1, 0));
    d.count.assign(d.K + 1, 0);
    d.mchg.assign(d.K + 1, 0);
    d.state.assign(P + 1, 0);
    d.ess.assign(P + 1, 0);
    d.pchg.assign(P + 1, 0);
    d.lit.assign(P + 1, -1);
    for (int p = 0; p <= P; ++p) {
        for (int i = 0; i < n; ++i) d.lit[p] += pt.x(p)[i] != 2;
        for (int k = 0; k <= d.K; ++k) {
            bool in = true;
            for (int i = 0; i < n; ++i) {
                const int bit = (d.line[k] >> (n - 1 - i)) & 1;
                if (pt.x(p)[i] != 2 && pt.x(p)[i] != bit) in = false;
            }
            d.cell[p][k] = in ? 1 : 0;
        }
    }
    d.select();
    R = d.R;
    if (ctx.level() >= 2 && d.done) {
        ctx.report.flush_display(0);
        if (ctx.level() < 4) ctx.report.display_blank();
        ctx.report.text_navy(1);
        ctx.report.display_text(" ***  " + format_mask("#", R + 1) + " Product Terms", 1);
        ctx.report.flush_display(0);
    }
}

}  // namespace

void dense_cover_single(RunContext& ctx, const Problem& pr, PrimeStore& store, double alpha, double beta) {
    TermTable pt(pr.inputs(), 0), result(pr.inputs(), 0);
    const int mode = ctx.options.polarity_mode;
    const int passes = (mode == 0 || mode == 1) ? 1 : 2;
    if (ctx.level() == 1) {
        ctx.report.display_heading(" *** Select Cover (2):  Results of Weighted covering Process (Minterms without DC-Set)");
    }
    if (ctx.level() >= 1) ctx.window.set_status_line(" *** Select Cover:");
    for (int pass = 0; pass < passes; ++pass) {
        for (int j = 0; j <= pr.ymax; ++j) {
            const int v = passes == 1 ? pr.polarity[j] : pass;
            ctx.diag.start_timer(" Covering process");
            store.current_output = j;
            store.current_value = v;
            const int P = restore_from_allprimes(ctx, store, pt);
            if (ctx.level() == 1) {
                std::string name = pr.ynames[j];
                while (static_cast<int>(name.size()) < pr.ynames_maxlen) name += ' ';
                ctx.report.display_text(" *** Output Function  y(" + format_mask("##", j) + ") : " + name + " =" + STR(v), 0);
            }
            int R = -1;
            cover_one(ctx, pr, j, v, pt, P, result, R, alpha, beta);
            if (ctx.failed()) return;
            if (ctx.level() == 1) {
                if (R > -1) {
                    ctx.report.text_blue(1);
                    ctx.report.display_text(format_mask("######", R + 1), 0);
                    ctx.report.display_text("  Product Terms", 1);
                } else {
                    ctx.report.text_red(1);
                    ctx.report.display_text("    is not defined", 1);
                }
            }
            ctx.diag.stop_timer(" Covering process");
            if (ctx.level() >= 2) {
                ctx.report.flush_display(0);
                if (!(pass == passes - 1 && j == pr.ymax)) ctx.report.ask_reset();
            }
            if (R > -1) store_allprimes(ctx, store, result, R);
            else store.set_last(j, v, -1);
        }
        if (ctx.level() == 1 && passes == 2 && pass == 0) ctx.report.display_blank();
    }
    if (ctx.level() == 1) {
        ctx.report.flush_display(0);
        ctx.report.display_blank();
        ctx.report.text_navy(1);
        ctx.report.display_text(" *** Cover done", 2);
        ctx.report.flush_display(0);
    }
}

}  // namespace cover_oracle
