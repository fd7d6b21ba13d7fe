#include "data/applicationcontext.h"

namespace kav {

ApplicationContext::ApplicationContext(const QString& executablePath, IMessageBoxes& messageBoxes)
    : FMessageBoxes(messageBoxes)
    , FProgramPreference(executablePath)
{
    FRNXIndex.SetMessageBoxes(&messageBoxes);
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
    FDataElementList = DataElementsOf(FDataNuclideList);
}

QStringList DataElementsOf(const TRNXStringList& nuclides)
{
    QStringList elements;
    for (const QString& name : nuclides.Names()) {
        const qsizetype dash = name.indexOf(u'-');
        if (dash >= 0 && !elements.contains(name.left(dash)))
            elements << name.left(dash);
    }
    return elements;
}

void ApplicationContext::SavePreferencesAtExit() const
{
    if (FProgramPreference.AutoSave())
        FProgramPreference.Write();
}

} // namespace kav
