// exact_quality: runs the exact method on benchmark inputs and prints per file the terms, the lower
// bound, whether the minimum is proven, the primes, the covering rows and the time of each phase,
// next to the peer's exact term count; checks every cover against the ON and OFF covers.
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>

#include <CLI/CLI.hpp>
#include <fmt/format.h>

#include "cubes/cover_algebra.h"
#include "cubes/function_covers.h"
#include "cubes/input_words.h"
#include "model/problem.h"
#include "minimize/exact.h"
#include "peer_figures.h"
#include "report/text_work_area.h"
#include "run/command_fsm.h"
#include "run/session.h"

namespace fs = std::filesystem;
using namespace vormel;

namespace {

// Reads and expands one file as a level-1 run does; false when the input step failed.
bool load(Session& session, TextWorkArea& area, const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    area.set_plain_text(text.str());
    session.ctx.input_file = path;
    session.ctx.options.display_level = 1;
    session.ctx.options.page_by_page = 0;
    session.ctx.run_state = 4;
    Vormel_CommandFSM(session);
    return session.ctx.run_state == 5;
}

// The covers as the peer reads these files: a row's 1 puts its points in ON, its "-" in DC (where
// DC wins over ON), its 0 says nothing; everything else is OFF.
cubes::FunctionCovers peer_covers(const Problem& problem) {
    const TermTable& rows = problem.intab;
    cubes::FunctionCovers f;
    f.space = cubes::Space::of(problem.inputs(), problem.outputs());
    const cubes::Space single = cubes::Space::of(f.space.nx, 1);
    std::vector<cubes::InputCover> on(f.space.ny), dc(f.space.ny), off(f.space.ny);
    for (int j = 0; j < f.space.ny; ++j) {
        cubes::Cover dashes;
        for (int r = 0; r <= rows.last; ++r)
            if (rows.y(r)[j] == kDash) dashes.push_back(cubes::Cube{cubes::input_word(rows.x(r), rows.nx), {1, 0}});
        for (int r = 0; r <= rows.last; ++r) {
            if (rows.y(r)[j] != kOne) continue;
            const cubes::Cube one{cubes::input_word(rows.x(r), rows.nx), {1, 0}};
            for (const cubes::Cube& piece : cubes::sharp(one, dashes, single)) on[static_cast<std::size_t>(j)].push_back(piece.in);
        }
        for (const cubes::Cube& d : dashes) dc[static_cast<std::size_t>(j)].push_back(d.in);
        cubes::InputCover specified = on[static_cast<std::size_t>(j)];
        specified.insert(specified.end(), dc[static_cast<std::size_t>(j)].begin(), dc[static_cast<std::size_t>(j)].end());
        off[static_cast<std::size_t>(j)] = cubes::input_complement(specified, f.space);
    }
    f.on = cubes::join_output_parts(on, f.space);
    f.dc = cubes::join_output_parts(dc, f.space);
    f.off = cubes::join_output_parts(off, f.space);
    return f;
}

// The cover holds every ON cube and meets no OFF cube.
bool valid(const cubes::Cover& cover, const cubes::FunctionCovers& f) {
    for (const cubes::Cube& c : f.on)
        if (!cubes::covers(cover, c, f.space)) return false;
    for (const cubes::Cube& d : f.off)
        for (const cubes::Cube& c : cover)
            if (cubes::intersects(c, d, f.space)) return false;
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    CLI::App app{"Exact method over benchmark inputs: terms, bound, proof, primes, rows, times"};
    std::string folder = VORMEL_BENCH_DIR "/pla";
    std::vector<std::string> files;
    double limit = 60;
    std::string meaning = "peer";
    app.add_option("--dir", folder, "Folder of inputs (every .pla file in it, sorted by name)");
    app.add_option("files", files, "Inputs (instead of --dir)");
    app.add_option("--limit", limit, "Time limit per file in seconds");
    app.add_option("--meaning", meaning, "peer: output 0 says nothing and - beats 1 (as the peer figures); "
                                         "program: the covers of a Vormel run (1 beats 0 beats -)")
        ->check(CLI::IsMember({"peer", "program"}));
    CLI11_PARSE(app, argc, argv);
    if (files.empty()) {
        for (const auto& entry : fs::directory_iterator(folder))
            if (entry.path().extension() == ".pla") files.push_back(entry.path().string());
        std::sort(files.begin(), files.end());
    }
    const bench::PeerTable peers =
        bench::read_peer_figures((fs::path(files.empty() ? folder : files[0]).parent_path().parent_path() / "peer_figures.tsv").string());

    fmt::print("{:<12} {:>3} {:>3} {:>7} {:>7} {:>11} {:>5} {:>5} {:>6} {:>5} {:>5} {:>7} {:>7} {:>7} {:>7} {:>8}\n", "file", "in",
               "out", "primes", "rows", "core", "terms", "bound", "proof", "lits", "peer", "primes", "rows", "reduce",
               "solve", "total");
    int total_terms = 0, peer_total = 0, compared_terms = 0, matched = 0, compared = 0, invalid = 0;
    double total_seconds = 0, compared_seconds = 0;
    for (const std::string& path : files) {
        const std::string name = fs::path(path).filename().string();
        TextWorkArea area;
        SilentRunWindow window;
        Session session(area, window);
        if (!load(session, area, path)) {
            fmt::print("{:<12} not read\n", name);
            continue;
        }
        const cubes::FunctionCovers f =
            meaning == "peer" ? peer_covers(session.problem) : cubes::function_covers(session.problem);
        minimize::Observer observer;
        const minimize::ExactParams params{limit};
        const minimize::ExactResult r = minimize::minimize_exact(f.on, f.dc, f.off, f.space, params, observer);
        const double seconds = r.total_seconds;
        const bool ok = valid(r.cover, f);
        invalid += !ok;
        const std::string proof = !ok ? "WRONG" : r.proven ? (r.literals_proven ? "yes" : "terms") : "no";
        const std::string peer_terms = bench::peer(peers, name, "exact_terms");
        fmt::print("{:<12} {:>3} {:>3} {:>7} {:>7} {:>5}x{:<5} {:>5} {:>5} {:>6} {:>5} {:>5} {:>7.3f} {:>7.3f} {:>7.3f} {:>7.3f} {:>8.3f}{}\n",
                   name, f.space.nx, f.space.ny, r.prime_count, r.row_count, r.core_rows, r.core_columns, r.terms,
                   r.lower_bound, proof, r.literals, peer_terms, r.primes_seconds, r.rows_seconds, r.reduce_seconds,
                   r.solve_seconds, seconds, r.fallback ? "  (quick cover)" : "");
        std::cout.flush();
        total_terms += r.terms;
        total_seconds += seconds;
        if (!peer_terms.empty() && std::isdigit(static_cast<unsigned char>(peer_terms[0]))) {
            ++compared;
            peer_total += std::stoi(peer_terms);
            compared_terms += r.terms;
            matched += r.terms == std::stoi(peer_terms) && r.proven;
            compared_seconds += seconds;
        }
    }
    fmt::print("\n{} files, {} terms, {:.3f} s; {} invalid covers\n", files.size(), total_terms, total_seconds, invalid);
    fmt::print("files with a peer exact count: {}, proven equal: {}, terms {} (peer {}), {:.3f} s\n", compared, matched,
               compared_terms, peer_total, compared_seconds);
    return invalid == 0 ? 0 : 1;
}
