#include "data/applicationcontext.h"

#include <utility>

namespace kav {

ApplicationContext::ApplicationContext(const QString& executablePath, MessageBoxes& messageBoxes)
    : m_messageBoxes(messageBoxes)
    , m_settings(executablePath)
{
    m_watchingSpectra
        = m_spectra.readFailed.connect([this](const SpectrumRead& failure) { saySpectraProblem(failure); });
    m_watchingSettings = m_settings.settingsChanged.connect([this] {
        QString reason;
        if (!m_saidSettingsCannotBeKept && !m_settings.canWrite(&reason))
            sayIfSettingsCannotBeKept(reason);
    });
}

void ApplicationContext::sayIfSettingsCannotBeKept(const QString& reason)
{
    if (std::exchange(m_saidSettingsCannotBeKept, true))
        return;
    // The kept list goes to the same folder: when no file can be made there, this one warning
    // says so too, rather than a second one at exit.
    m_saidListCannotBeKept = !m_settings.canMakeFilesInSettingsFolder();
    m_messageBoxes.show(MessageKind::Warning, QStringLiteral("Settings"),
                        QStringLiteral("The settings cannot be saved (%1). What you change applies until the "
                                       "viewer is closed.")
                                .arg(reason)
                            + (m_saidListCannotBeKept ? QStringLiteral(
                                   " The list of radionuclides cannot be kept for the next run either.")
                                                      : QString()),
                        ButtonOk, ButtonOk);
}

void ApplicationContext::saySpectraProblem(const SpectrumRead& failure)
{
    if (failure.status == SpectrumRead::FileMissing
        && std::exchange(m_saidSpectraFileMissing[static_cast<std::size_t>(failure.file)], true))
        return;
    const SpectrumReadMessage message = spectrumReadMessageOf(failure, m_settings.language());
    m_messageBoxes.show(MessageKind::Error, message.caption, message.text, ButtonOk, ButtonOk);
}

void ApplicationContext::loadIndex()
{
    for (const bool fromResource : {false, true}) {
        const IndexLoadResult result = m_index.loadIndexFrom(QString(), fromResource);
        if (!result.failed())
            continue;
        const IndexLoadMessage message = loadFailureMessage(result, m_settings.language());
        m_messageBoxes.show(result.status == IndexLoadResult::Damaged ? MessageKind::Warning : MessageKind::Error,
                            message.caption, message.text, ButtonOk, ButtonOk);
    }
}

void ApplicationContext::fillDataLists()
{
    m_settings.dataFolder().listNuclides(m_index, m_dataNuclideList);
    m_dataElementList = dataElementsOf(m_dataNuclideList);
}

QStringList dataElementsOf(const NuclideList& nuclides)
{
    QStringList elements;
    for (const QString& name : nuclides.names()) {
        const qsizetype dash = name.indexOf(u'-');
        if (dash >= 0 && !elements.contains(name.left(dash)))
            elements << name.left(dash);
    }
    return elements;
}

void ApplicationContext::savePreferencesAtExit()
{
    if (m_settings.autoSave())
        writePreferences(FailureNotice::OncePerRun);
}

bool ApplicationContext::writePreferences(FailureNotice notice, const QStringList& onlyKeys)
{
    QString reason;
    if (m_settings.write(&reason, onlyKeys))
        return true;
    if (notice == FailureNotice::OncePerRun) {
        sayIfSettingsCannotBeKept(reason);
        return false;
    }
    m_messageBoxes.show(MessageKind::Warning, QStringLiteral("Settings"),
                        QStringLiteral("The settings could not be saved (%1). What you changed applies until the "
                                       "viewer is closed.")
                            .arg(reason),
                        ButtonOk, ButtonOk);
    return false;
}

} // namespace kav
