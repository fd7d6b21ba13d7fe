#include "app/chosennuclide.h"

#include "app/application.h"
#include "chooser/ui/nuclidechooser.h"
#include "data/dosedata.h"
#include "data/dosedatafolder.h"

namespace kav {

void ChosenNuclideLoader::Load(const DoseDataFolder& folder, DoseData& data, const NuclideIdentity& rnx,
                               const std::function<void()>& show)
{
    const StoredNuclideId previous = data.NuclideId();
    const std::optional<DoseDataFailure> failure = folder.Load(rnx, data);
    if (!failure) {
        show();
        return;
    }
    if (failure->fileAtFault)
        FBoxes.Show(MessageKind::Error, QStringLiteral("Error"), failure->message, mbCancel, mbCancel);
    else
        FBoxes.Show(MessageKind::Error, ViewerApplication::Title, failure->message, mbOK, mbOK);
    // The nuclide shown before is read again through the chooser.
    if (FGoingBack || previous.El == NoElement) {
        show();
        return;
    }
    FGoingBack = true;
    FChooser.Selection().SetElementAndAMass(previous.El, previous.AMass);
    FGoingBack = false;
}

} // namespace kav
