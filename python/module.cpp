// import deal: the family's core in Python, the numbers exact and Python's
// own, the pictures inline in a notebook. This is the compiled part,
// deal._deal; deal/__init__.py is what Python users import.
#include "python/decks.hpp"
#include "python/routines.hpp"
#include "python/words.hpp"
#ifdef DEAL_PYTHON_PICTURES
#include "python/pictures.hpp"
#endif

namespace python {
void bind_chances(py::module_& m);
void bind_searches(py::module_& m);
void bind_groups(py::module_& m);
} // namespace python

PYBIND11_MODULE(_deal, m) {
    m.doc() = "The compiled core of the deal package: see help(deal).";
    m.attr("__version__") = DEAL_VERSION;
    python::bind_decks(m);
    python::bind_routines(m);
    python::bind_chances(m);
    python::bind_searches(m);
    python::bind_groups(m);
#ifdef DEAL_PYTHON_PICTURES
    python::bind_pictures(m);
#endif
}
