#pragma once

#include <functional>

namespace kav {

class DoseDataFolder;
class MessageBoxes;
class NuclideIdentity;
class NuclideChooser;
class DoseData;

// What a view does when its chooser reports a nuclide: load it into the view's data object and
// show it. When the file cannot be read, the reason is said and the chooser goes back to the
// nuclide shown before; should that one fail too, the view shows nothing rather than going back
// and forth.
class ChosenNuclideLoader {
public:
    // The chooser and the boxes outlive the loader.
    ChosenNuclideLoader(NuclideChooser& chooser, MessageBoxes& boxes)
        : m_chooser(chooser)
        , m_boxes(boxes)
    {
    }

    // Loads the nuclide from the folder, then calls show; after a failure show is called on the
    // empty object.
    void load(const DoseDataFolder& folder, DoseData& data, const NuclideIdentity& rnx,
              const std::function<void()>& show);

private:
    NuclideChooser& m_chooser;
    MessageBoxes& m_boxes;
    bool m_goingBack = false;
};

} // namespace kav
