#include "data/applicationcontext.h"

namespace kav {

ApplicationContext::ApplicationContext(const QString& executablePath, IMessageBoxes& messageBoxes)
    : FMessageBoxes(messageBoxes)
    , FProgramPreference(executablePath)
{
}

void ApplicationContext::LoadIndex()
{
    for (const bool fromResource : {false, true}) {
        const TRNXLoadResult result = FRNXIndex.LoadRNXIndex(QString(), fromResource);
        if (!result.Failed())
            continue;
        const TRNXLoadMessage message = RNXLoadMessage(result, FRNXIndex.Language());
        FMessageBoxes.Show(result.status == TRNXLoadResult::Damaged ? MessageKind::Warning : MessageKind::Error,
                           message.caption, message.text, mbOK, mbOK);
    }
}

void ApplicationContext::FillDataLists()
{
    FProgramPreference.GetRNList(FRNXIndex, FDataNuclideList);
    FDataElementList.clear();
    for (const QString& name : FDataNuclideList.Names()) {
        const qsizetype dash = name.indexOf(u'-');
        if (dash >= 0 && !FDataElementList.contains(name.left(dash)))
            FDataElementList << name.left(dash);
    }
}

void ApplicationContext::SavePreferencesAtExit() const
{
    if (FProgramPreference.AutoSave())
        FProgramPreference.Write();
}

} // namespace kav
