#include "app/chosennuclide.h"

#include "app/application.h"
#include "chooser/ui/rnxpanel.h"
#include "data/dosedata.h"

namespace kav {

void TChosenNuclideLoader::Load(TVESKRNDosesData& data, const TBasicRNX& rnx, const std::function<void()>& show)
{
    const TRNXRec previous = data.RNuclide();
    try {
        data.AssignRNuclide(rnx);
        show();
        return;
    } catch (const EWrongDataFileException& e) {
        FBoxes.Show(MessageKind::Error, QStringLiteral("Error"), e.Message(), mbCancel, mbCancel);
    } catch (const std::exception& e) {
        ShowException(FBoxes, e);
    }
    // The nuclide shown before is read again through the chooser.
    if (FGoingBack || previous.El == _NoRNXElement) {
        show();
        return;
    }
    FGoingBack = true;
    FChooser.SetElementAndAMass(previous.El, previous.AMass);
    FGoingBack = false;
}

} // namespace kav
