#include "app/chosennuclide.h"

#include "app/application.h"
#include "chooser/ui/nuclidechooser.h"
#include "data/dosedata.h"
#include "data/dosedatafolder.h"

namespace kav {

void ChosenNuclideLoader::load(const DoseDataFolder& folder, DoseData& data, const NuclideIdentity& rnx,
                               const std::function<void()>& show)
{
    const StoredNuclideId previous = data.nuclideId();
    const std::optional<DoseDataFailure> failure = folder.load(rnx, data);
    if (!failure) {
        show();
        return;
    }
    if (failure->fileAtFault)
        m_boxes.show(MessageKind::Error, QStringLiteral("Error"), failure->message, ButtonCancel, ButtonCancel);
    else
        m_boxes.show(MessageKind::Error, ViewerApplication::Title, failure->message, ButtonOk, ButtonOk);
    // The nuclide shown before is read again through the chooser.
    if (m_goingBack || previous.element == ChemicalElement::None) {
        show();
        return;
    }
    m_goingBack = true;
    m_chooser.selection().setElementAndAMass(previous.element, previous.mass);
    m_goingBack = false;
}

} // namespace kav
