#include "data/applicationcontext.h"

#include <utility>

namespace kav {

ApplicationContext::ApplicationContext(const QString& executablePath, MessageBoxes& messageBoxes)
    : FMessageBoxes(messageBoxes)
    , FSettings(executablePath)
{
    FWatchingSpectra = FSpectra.ReadFailed.Connect([this](const SpectrumRead& failure) { SaySpectraProblem(failure); });
    FWatchingSettings = FSettings.SettingsChanged.Connect([this] {
        QString reason;
        if (!FSaidSettingsCannotBeKept && !FSettings.CanWrite(&reason))
            SayIfSettingsCannotBeKept(reason);
    });
}

void ApplicationContext::SayIfSettingsCannotBeKept(const QString& reason)
{
    if (std::exchange(FSaidSettingsCannotBeKept, true))
        return;
    // The kept list goes to the same folder: when no file can be made there, this one warning
    // says so too, rather than a second one at exit.
    FSaidListCannotBeKept = !FSettings.CanMakeFilesInSettingsFolder();
    FMessageBoxes.Show(MessageKind::Warning, QStringLiteral("Settings"),
                       QStringLiteral("The settings cannot be saved (%1). What you change applies until the "
                                      "viewer is closed.")
                               .arg(reason)
                           + (FSaidListCannotBeKept
                                  ? QStringLiteral(" The list of radionuclides cannot be kept for the next run either.")
                                  : QString()),
                       mbOK, mbOK);
}

void ApplicationContext::SaySpectraProblem(const SpectrumRead& failure)
{
    if (failure.status == SpectrumRead::FileMissing
        && std::exchange(FSaidSpectraFileMissing[static_cast<std::size_t>(failure.file)], true))
        return;
    const SpectrumReadMessage message = SpectrumReadMessageOf(failure, FSettings.Language());
    FMessageBoxes.Show(MessageKind::Error, message.caption, message.text, mbOK, mbOK);
}

void ApplicationContext::LoadIndex()
{
    for (const bool fromResource : {false, true}) {
        const IndexLoadResult result = FIndex.LoadIndexFrom(QString(), fromResource);
        if (!result.Failed())
            continue;
        const IndexLoadMessage message = LoadFailureMessage(result, FSettings.Language());
        FMessageBoxes.Show(result.status == IndexLoadResult::Damaged ? MessageKind::Warning : MessageKind::Error,
                           message.caption, message.text, mbOK, mbOK);
    }
}

void ApplicationContext::FillDataLists()
{
    FSettings.DataFolder().ListNuclides(FIndex, FDataNuclideList);
    FDataElementList = DataElementsOf(FDataNuclideList);
}

QStringList DataElementsOf(const NuclideList& nuclides)
{
    QStringList elements;
    for (const QString& name : nuclides.Names()) {
        const qsizetype dash = name.indexOf(u'-');
        if (dash >= 0 && !elements.contains(name.left(dash)))
            elements << name.left(dash);
    }
    return elements;
}

void ApplicationContext::SavePreferencesAtExit()
{
    if (FSettings.AutoSave())
        WritePreferences(FailureNotice::OncePerRun);
}

bool ApplicationContext::WritePreferences(FailureNotice notice, const QStringList& onlyKeys)
{
    QString reason;
    if (FSettings.Write(&reason, onlyKeys))
        return true;
    if (notice == FailureNotice::OncePerRun) {
        SayIfSettingsCannotBeKept(reason);
        return false;
    }
    FMessageBoxes.Show(MessageKind::Warning, QStringLiteral("Settings"),
                       QStringLiteral("The settings could not be saved (%1). What you changed applies until the "
                                      "viewer is closed.")
                           .arg(reason),
                       mbOK, mbOK);
    return false;
}

} // namespace kav
