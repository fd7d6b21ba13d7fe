// Any bytes as the radionuclide index: the loader keeps what it can link, and every walk over
// the result (chains, progeny, ancestors, the text export, writing it back) ends. What the
// checking loader accepts is an index in every respect: each name found where it stands and
// each daughter where it is said to be.
#include "nuclides/nuclideindex.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace kav;
    NuclideIndex index;
    index.loadFromBytes(QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));
    NuclideList list;
    NuclideList direct, main, other;
    for (int i = 0; i < index.count(); ++i) {
        const Nuclide& node = *index.items(i);
        DecayChain chain;
        float maxCutted = 0;
        node.getChainArray(chain, maxCutted);
        node.getDaughtersList(list);
        index.getAncLists(&node, direct, main, other);
        if (index.findNuclide(node.name.toString()) == nullptr && node.element != ChemicalElement::None
            && index.rangeOf(node.element).first == i)
            std::abort(); // the first node of an element is always found by its name
    }
    (void)index.toText();
    const QByteArray written = index.toBytes();
    const int count = index.count();
    index.loadFromBytes(written);
    if (index.count() != count)
        std::abort();

    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    if (!index.loadValidated(bytes).isEmpty()) {
        if (index.count() != 0)
            std::abort(); // a refused file leaves nothing behind
        return 0;
    }
    for (int i = 0; i < index.count(); ++i) {
        const Nuclide& node = *index.items(i);
        if (index.findNuclide(node.name.toString()) != &node)
            std::abort();
        for (int slot = 0; slot < node.daughterCount; ++slot) {
            const DaughterSlot& d = node.daughters[static_cast<std::size_t>(slot)];
            if (!index.nodeAt(d.position) || index.nodeAt(d.position)->name != d.name)
                std::abort();
        }
    }
    return 0;
}
