#pragma once
#include <string>
#include <vector>

#include "export/picture.h"

namespace vormel {

struct Problem;
struct ResultView;

// What a wire or gate pin carries.
struct Signal {
    enum class Kind { literal, gate, output, constant };
    Kind kind = Kind::constant;
    int index = 0;          // literal: the input; gate: index into GateDiagram::gates; output: the output; constant: 0 or 1
    bool negated = false;   // literal: the input's complement
    friend bool operator==(const Signal&, const Signal&) = default;
};

struct DiagramGate {
    enum class Kind { and_gate, or_gate, inverter };
    Kind kind = Kind::and_gate;
    double x = 0, y = 0, width = 0, height = 0;
    bool downward = false;  // an inverter on the input bus points down, all else points right
    bool bubble = false;    // the output is complemented (an OR gate of an output realised inverted)
    std::vector<Point> pins;
    std::vector<Signal> inputs;  // per pin
    Point out;
    int term = -1;    // AND gate: row of ResultView::terms
    int output = -1;  // OR gate and output inverter: the output
};

// An input with its vertical line, and the line of its complement when a term uses it inverted.
struct DiagramInput {
    std::string name;
    double x = 0;
    double inverted_x = -1;  // < 0: no inverter
    double top = 0, bottom = 0;
};

struct DiagramOutput {
    std::string name;
    Signal driver;          // OR gate, a single term's signal, a constant or the output copied
    bool inverted = false;  // the driver's complement
    Point at;               // where the output's wire ends at its name
};

// The two-level AND/OR realisation of the final result: input lines (and their inverters) on the
// left, one AND gate per product term of two or more literals, drawn once however many outputs it
// feeds, one OR gate per output of two or more terms, outputs on the right.
struct GateDiagram {
    std::vector<DiagramInput> inputs;
    std::vector<DiagramGate> gates;
    std::vector<DiagramOutput> outputs;
    std::vector<std::vector<Point>> wires;
    std::vector<Point> junctions;
    struct Label {
        Point at;
        std::string text;
        Anchor anchor = Anchor::start;
    };
    // Shared terms' names beside their gate outputs; constants and the outputs that copies repeat.
    std::vector<Label> labels;
    double width = 0, height = 0;
};

// Never fails; a result without terms gives a diagram of input lines and constant outputs.
GateDiagram gate_diagram_geometry(const Problem& problem, const ResultView& view);

Picture draw_gate_diagram(const GateDiagram& diagram);

}  // namespace vormel
