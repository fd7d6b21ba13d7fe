// Any bytes as the radionuclide index: the loader keeps what it can link, and every walk over
// the result (chains, progeny, ancestors, the text export, writing it back) ends.
#include "rnxindex.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace kav;
    RNXIndex->LoadFromBytes(QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));
    TRNXStringList list;
    TRNXStringList direct, main, other;
    for (int i = 0; i < RNXIndex->Count(); ++i) {
        const TRNXnode& node = *RNXIndex->Items(i);
        TRNXChainArray chain;
        float maxCutted = 0;
        node.GetChainArray(chain, maxCutted);
        node.GetDaughtersList(list);
        RNXIndex->GetAncLists(&node, direct, main, other);
        if (RNXIndex->FindRNX(node.RNXname.toString()) == nullptr && node.Element != _NoRNXElement
            && ElementRanges[node.Element].First == i)
            std::abort(); // the first node of an element is always found by its name
    }
    (void)RNXIndex->ToText();
    const QByteArray written = RNXIndex->ToBytes();
    const int count = RNXIndex->Count();
    RNXIndex->LoadFromBytes(written);
    if (RNXIndex->Count() != count)
        std::abort();
    return 0;
}
