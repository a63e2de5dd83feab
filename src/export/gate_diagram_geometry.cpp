#include "export/gate_diagram_geometry.h"

#include <algorithm>

#include "export/result_view.h"
#include "model/problem.h"

namespace vormel {

namespace {

constexpr double kPin = 14;         // distance of gate pins
constexpr double kLinePitch = 18;   // an input line from its complement's line
constexpr double kInputGap = 16;
constexpr double kGateWidth = 36;
constexpr double kGateGap = 10;
constexpr double kTrackPitch = 8;   // vertical tracks of the term outputs between the two columns
constexpr double kInverterSize = 14;
constexpr double kBubble = 3;

Signal literal(int input, bool negated) { return {Signal::Kind::literal, input, negated}; }
Signal gate_signal(int gate) { return {Signal::Kind::gate, gate, false}; }
Signal constant(bool one) { return {Signal::Kind::constant, one ? 1 : 0, false}; }

struct TermPlace {
    Signal signal;
    Point out;      // where the term's wire leaves the AND column
    int slot = 0;   // its place in the AND column, top down
    int track = 0;  // its vertical track between the columns, left to right
};

// Input lines across the top, with an inverter under the name of each input used inverted.
double place_inputs(GateDiagram& d, const Problem& problem, const ResultView& view, double& first_term_y) {
    std::vector<bool> inverted(static_cast<std::size_t>(view.terms.nx), false);
    for (int r = 0; r <= view.terms.last; ++r) {
        for (int i = 0; i < view.terms.nx; ++i) inverted[i] = inverted[i] || view.terms.x(r)[i] == kZero;
    }
    const double name_line = kPictureMargin + kLabelSize;
    const double top = name_line + 6;
    const double tap = top + 8;
    double x = kPictureMargin;
    for (int i = 0; i < view.terms.nx; ++i) {
        DiagramInput input;
        input.name = problem.xnames[i];
        const double used = inverted[i] ? kLinePitch : 0;
        const double width = std::max(used, estimated_text_width(input.name, kLabelSize));
        input.x = x + width / 2 - used / 2;
        input.top = top;
        if (inverted[i]) {
            input.inverted_x = input.x + kLinePitch;
            DiagramGate inv;
            inv.kind = DiagramGate::Kind::inverter;
            inv.downward = true;
            inv.x = input.inverted_x - kInverterSize / 2;
            inv.y = tap;
            inv.width = kInverterSize;
            inv.height = kInverterSize;
            inv.pins = {{input.inverted_x, tap}};
            inv.inputs = {literal(i, false)};
            inv.out = {input.inverted_x, tap + kInverterSize + 2 * kBubble};
            d.wires.push_back({{input.x, tap}, {input.inverted_x, tap}});
            d.junctions.push_back({input.x, tap});
            d.gates.push_back(inv);
        }
        d.inputs.push_back(input);
        x += width + kInputGap;
    }
    first_term_y = tap + kInverterSize + 2 * kBubble + 16;
    return x;
}

double line_x(const GateDiagram& d, int input, bool negated) {
    return negated ? d.inputs[input].inverted_x : d.inputs[input].x;
}

// One slot per term: an AND gate for two or more literals, a tap of the input line for one, a
// constant 1 for none. The slots go one output at a time, in bands each tall enough for the OR gate
// beside it, so the wires between the columns stay inside their band and those of terms that feed
// one output never cross. A shared term sits in the band of its middle output, where its wires run
// least far, and its track lies right of the others' (seven-segment: 193 crossings instead of 281).
// `band_tops` gets each output's band.
std::vector<TermPlace> place_terms(GateDiagram& d, const ResultView& view, double x, double& y,
                                   std::vector<double>& band_tops) {
    std::vector<TermPlace> places(static_cast<std::size_t>(view.terms.last + 1));
    std::vector<bool> placed(places.size(), false);
    const double out_x = x + kGateWidth;
    int slot = 0;
    auto place_term = [&](int r) {
        std::vector<Signal> literals;
        for (int i = 0; i < view.terms.nx; ++i) {
            if (view.terms.x(r)[i] != kDash) literals.push_back(literal(i, view.terms.x(r)[i] == kZero));
        }
        TermPlace place;
        place.slot = slot++;
        placed[static_cast<std::size_t>(r)] = true;
        if (literals.size() >= 2) {
            DiagramGate gate;
            gate.kind = DiagramGate::Kind::and_gate;
            gate.term = r;
            gate.x = x;
            gate.y = y;
            gate.width = kGateWidth;
            gate.height = static_cast<double>(literals.size()) * kPin;
            for (std::size_t k = 0; k < literals.size(); ++k) {
                const Point pin{x, y + (static_cast<double>(k) + 0.5) * kPin};
                const double from = line_x(d, literals[k].index, literals[k].negated);
                d.wires.push_back({{from, pin.y}, pin});
                d.junctions.push_back({from, pin.y});
                gate.pins.push_back(pin);
                gate.inputs.push_back(literals[k]);
            }
            gate.out = {out_x, y + gate.height / 2};
            place.signal = gate_signal(static_cast<int>(d.gates.size()));
            place.out = gate.out;
            d.gates.push_back(gate);
            y += gate.height + kGateGap;
        } else {
            const double mid = y + kPin / 2;
            if (literals.size() == 1) {
                const double from = line_x(d, literals[0].index, literals[0].negated);
                d.wires.push_back({{from, mid}, {out_x, mid}});
                d.junctions.push_back({from, mid});
                place.signal = literals[0];
            } else {
                d.labels.push_back({{out_x - 10, mid + kLabelSize * 0.35}, "1", Anchor::end});
                d.wires.push_back({{out_x - 8, mid}, {out_x, mid}});
                place.signal = constant(true);
            }
            place.out = {out_x, mid};
            y += kPin + kGateGap;
        }
        if (view.shared[r]) d.labels.push_back({{place.out.x + 3, place.out.y - 3}, view.term_names[r], Anchor::start});
        places[static_cast<std::size_t>(r)] = place;
    };
    const int outputs = static_cast<int>(view.outputs.size());
    band_tops.assign(static_cast<std::size_t>(outputs), 0);
    std::vector<std::vector<int>> feeds(places.size());
    for (int j = 0; j < outputs; ++j) {
        for (int r : view.terms_of(j)) feeds[static_cast<std::size_t>(r)].push_back(j);
    }
    auto home = [&](int r) {
        const std::vector<int>& f = feeds[static_cast<std::size_t>(r)];
        return f[(f.size() - 1) / 2];
    };
    for (int j = 0; j < outputs; ++j) {
        band_tops[j] = y;
        const std::vector<int> rows = view.terms_of(j);
        for (int r : rows) {
            if (home(r) == j) place_term(r);
        }
        y = std::max(y, band_tops[j] + std::max<double>(1, static_cast<double>(rows.size())) * kPin + kGateGap);
    }
    for (int r = 0; r <= view.terms.last; ++r) {
        if (!placed[static_cast<std::size_t>(r)]) place_term(r);
    }
    // Tracks: the terms of one output in slot order, then the shared ones.
    std::vector<int> by_slot(places.size());
    for (std::size_t r = 0; r < places.size(); ++r) by_slot[static_cast<std::size_t>(places[r].slot)] = static_cast<int>(r);
    std::stable_partition(by_slot.begin(), by_slot.end(), [&](int r) { return feeds[static_cast<std::size_t>(r)].size() <= 1; });
    for (std::size_t k = 0; k < by_slot.size(); ++k) places[static_cast<std::size_t>(by_slot[k])].track = static_cast<int>(k);
    return places;
}

}  // namespace

GateDiagram gate_diagram_geometry(const Problem& problem, const ResultView& view) {
    GateDiagram d;
    double term_y = 0;
    const double bus_end = place_inputs(d, problem, view, term_y);
    double y = term_y;
    const double and_x = bus_end + 14;
    std::vector<double> band_tops;
    const std::vector<TermPlace> terms = place_terms(d, view, and_x, y, band_tops);
    const double terms_bottom = y;

    // Each term output has its own vertical track; the OR column lies beyond the tracks.
    const double tracks_x = and_x + kGateWidth + 24;
    const double or_x = tracks_x + static_cast<double>(terms.size()) * kTrackPitch + 16;
    const double out_x = or_x + kGateWidth + 2 * kBubble + 18;
    std::vector<std::vector<Point>> pins_of_term(terms.size());
    y = term_y;
    const int outputs = static_cast<int>(view.outputs.size());
    for (int j = 0; j < outputs; ++j) {
        const OutputRealisation& real = view.realisations[j];
        DiagramOutput output;
        output.name = problem.ynames[j];
        output.inverted = real.inverted;
        const std::vector<int> rows = view.terms_of(j);
        y = band_tops[j];
        const double height = std::max<double>(1, static_cast<double>(rows.size())) * kPin;
        const double mid = y + height / 2;
        output.at = {out_x, mid};
        if (real.kind == OutputRealisation::Kind::terms && rows.size() >= 2) {
            DiagramGate gate;
            gate.kind = DiagramGate::Kind::or_gate;
            gate.output = j;
            gate.bubble = real.inverted;
            gate.x = or_x;
            gate.y = y;
            gate.width = kGateWidth;
            gate.height = height;
            for (std::size_t k = 0; k < rows.size(); ++k) {
                gate.pins.push_back({or_x, y + (static_cast<double>(k) + 0.5) * kPin});
                gate.inputs.push_back(terms[rows[k]].signal);
                pins_of_term[rows[k]].push_back(gate.pins.back());
            }
            gate.out = {or_x + kGateWidth + (real.inverted ? 2 * kBubble : 0), mid};
            output.driver = gate_signal(static_cast<int>(d.gates.size()));
            output.inverted = false;  // the gate's bubble complements it
            d.wires.push_back({gate.out, output.at});
            d.gates.push_back(gate);
        } else {
            if (real.kind == OutputRealisation::Kind::terms && rows.size() == 1) {
                output.driver = terms[rows[0]].signal;
                pins_of_term[rows[0]].push_back({or_x, mid});
            } else if (real.kind == OutputRealisation::Kind::copy) {
                output.driver = {Signal::Kind::output, real.source, false};
                d.labels.push_back({{or_x - 4, mid + kLabelSize * 0.35}, problem.ynames[real.source], Anchor::end});
            } else {
                // A constant, or an output without terms: the value itself, no inverter.
                output.driver = constant(real.inverted);
                output.inverted = false;
                d.labels.push_back({{or_x - 4, mid + kLabelSize * 0.35}, real.inverted ? "1" : "0", Anchor::end});
            }
            if (output.inverted) {
                // An inverter of its own; the gate count leaves inverters out.
                DiagramGate inv;
                inv.kind = DiagramGate::Kind::inverter;
                inv.output = j;
                inv.x = or_x + kGateWidth / 2 - kInverterSize / 2;
                inv.y = mid - kInverterSize / 2;
                inv.width = kInverterSize;
                inv.height = kInverterSize;
                inv.pins = {{inv.x, mid}};
                inv.inputs = {output.driver};
                inv.out = {inv.x + kInverterSize + 2 * kBubble, mid};
                d.wires.push_back({{or_x, mid}, inv.pins[0]});
                d.wires.push_back({inv.out, output.at});
                d.gates.push_back(inv);
            } else {
                d.wires.push_back({{or_x, mid}, output.at});
            }
        }
        d.outputs.push_back(output);
        y += height + kGateGap;
    }

    // Term outputs to their OR pins: out to the term's track, along it, across to the pin.
    for (std::size_t t = 0; t < terms.size(); ++t) {
        const std::vector<Point>& pins = pins_of_term[t];
        if (pins.empty()) continue;
        const double track = tracks_x + static_cast<double>(terms[t].track) * kTrackPitch;
        const Point from = terms[t].out;
        double low = from.y, high = from.y;
        for (const Point& pin : pins) {
            low = std::min(low, pin.y);
            high = std::max(high, pin.y);
        }
        for (const Point& pin : pins) d.wires.push_back({from, {track, from.y}, {track, pin.y}, pin});
        // A dot wherever the track branches off on its way on.
        if (pins.size() > 1 || from.y != pins.front().y) {
            for (const Point& pin : pins) {
                if (pin.y > low && pin.y < high) d.junctions.push_back({track, pin.y});
            }
            if (from.y > low && from.y < high) d.junctions.push_back({track, from.y});
        }
    }

    const double bottom = std::max(terms_bottom, y);
    for (DiagramInput& input : d.inputs) input.bottom = bottom;
    double right = out_x;
    for (const DiagramOutput& output : d.outputs) right = std::max(right, out_x + 4 + estimated_text_width(output.name, kLabelSize));
    d.width = right + kPictureMargin;
    d.height = bottom + kPictureMargin;
    return d;
}

namespace {

constexpr double kKappa = 0.5523;  // cubic control distance of a quarter ellipse

std::vector<PathStep> and_outline(const DiagramGate& g) {
    const double rx = g.width / 2, ry = g.height / 2;
    const double cx = g.x + rx, cy = g.y + ry, right = g.x + g.width, bottom = g.y + g.height;
    using Op = PathStep::Op;
    return {{Op::move, {g.x, g.y}, {}, {}},
            {Op::line, {cx, g.y}, {}, {}},
            {Op::cubic, {right, cy}, {cx + kKappa * rx, g.y}, {right, cy - kKappa * ry}},
            {Op::cubic, {cx, bottom}, {right, cy + kKappa * ry}, {cx + kKappa * rx, bottom}},
            {Op::line, {g.x, bottom}, {}, {}},
            {Op::close, {}, {}, {}}};
}

// The back of an OR gate bulges in by 3/4 of `kBack` of its width at the middle.
constexpr double kBack = 0.25;

std::vector<PathStep> or_outline(const DiagramGate& g) {
    const double w = g.width, h = g.height, x = g.x, y = g.y;
    using Op = PathStep::Op;
    return {{Op::move, {x, y}, {}, {}},
            {Op::cubic, {x + w, y + h / 2}, {x + 0.5 * w, y}, {x + 0.85 * w, y + 0.15 * h}},
            {Op::cubic, {x, y + h}, {x + 0.85 * w, y + 0.85 * h}, {x + 0.5 * w, y + h}},
            {Op::cubic, {x, y}, {x + kBack * w, y + 0.75 * h}, {x + kBack * w, y + 0.25 * h}},
            {Op::close, {}, {}, {}}};
}

std::vector<PathStep> inverter_outline(const DiagramGate& g) {
    using Op = PathStep::Op;
    if (g.downward) {
        return {{Op::move, {g.x, g.y}, {}, {}},
                {Op::line, {g.x + g.width, g.y}, {}, {}},
                {Op::line, {g.x + g.width / 2, g.y + g.height}, {}, {}},
                {Op::close, {}, {}, {}}};
    }
    return {{Op::move, {g.x, g.y}, {}, {}},
            {Op::line, {g.x + g.width, g.y + g.height / 2}, {}, {}},
            {Op::line, {g.x, g.y + g.height}, {}, {}},
            {Op::close, {}, {}, {}}};
}

}  // namespace

Picture draw_gate_diagram(const GateDiagram& d) {
    Picture picture;
    picture.title = "Gate diagram";
    picture.width = d.width;
    picture.height = d.height;
    const Rgb wire_colour{30, 30, 30};
    const Rgb line_colour{0, 0, 160};
    const Style gate_style{Rgb{0, 0, 0}, Rgb{255, 255, 255}, 1.0, 1.5};
    for (const DiagramInput& input : d.inputs) {
        picture.text({input.inverted_x < 0 ? input.x : (input.x + input.inverted_x) / 2, input.top - 6}, input.name, kLabelSize,
                     Anchor::middle, line_colour, true);
        picture.polyline({{input.x, input.top}, {input.x, input.bottom}}, stroke_only(line_colour));
        if (input.inverted_x >= 0) {
            const double from = input.top + 8 + kInverterSize + 2 * kBubble;
            picture.polyline({{input.inverted_x, from}, {input.inverted_x, input.bottom}}, stroke_only(line_colour));
        }
    }
    for (const std::vector<Point>& wire : d.wires) picture.polyline(wire, stroke_only(wire_colour));
    for (const Point& dot : d.junctions) picture.circle(dot, 2.5, {std::nullopt, wire_colour});
    for (const DiagramGate& gate : d.gates) {
        switch (gate.kind) {
            case DiagramGate::Kind::and_gate: picture.path(and_outline(gate), gate_style); break;
            case DiagramGate::Kind::or_gate:
                // Stubs from the pins to the curved back, under the gate's white body.
                for (const Point& pin : gate.pins) {
                    const double s = (pin.y - gate.y) / gate.height;
                    picture.polyline({pin, {pin.x + 3 * kBack * gate.width * s * (1 - s) + 1, pin.y}}, stroke_only(wire_colour));
                }
                picture.path(or_outline(gate), gate_style);
                break;
            case DiagramGate::Kind::inverter: picture.path(inverter_outline(gate), gate_style); break;
        }
        if (gate.kind == DiagramGate::Kind::inverter) {
            const Point centre = gate.downward ? Point{gate.x + gate.width / 2, gate.y + gate.height + kBubble}
                                               : Point{gate.x + gate.width + kBubble, gate.y + gate.height / 2};
            picture.circle(centre, kBubble, gate_style);
        } else if (gate.bubble) {
            picture.circle({gate.x + gate.width + kBubble, gate.y + gate.height / 2}, kBubble, gate_style);
        }
    }
    for (const GateDiagram::Label& label : d.labels) {
        // Names of shared terms sit small above their wires; sources of outputs at full size.
        picture.text(label.at, label.text, label.anchor == Anchor::start ? 9 : kLabelSize, label.anchor, Rgb{96, 96, 96});
    }
    for (const DiagramOutput& output : d.outputs) {
        picture.text({output.at.x + 4, output.at.y + kLabelSize * 0.35}, output.name, kLabelSize, Anchor::start,
                     Rgb{0, 100, 0}, true);
    }
    return picture;
}

}  // namespace vormel
