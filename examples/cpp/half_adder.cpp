// Minimizes the half adder from its truth table and prints its equations, its cost and a BLIF.
#include <iostream>

#include <vormel/vormel.h>

int main() {
    namespace api = vormel::api;
    try {
        const api::Source adder = api::from_table({"a", "b"}, {"sum", "carry"}, {"00:00", "01:10", "10:10", "11:01"});
        const api::Result result = api::minimize(adder);
        std::cout << result.equations << result.cost.terms << " terms, " << result.cost.gates << " gates, "
                  << result.proof.outcome << '\n'
                  << api::to_blif(result);
    } catch (const api::Error& error) {
        std::cerr << error.what() << '\n';
        return 1;
    }
}
