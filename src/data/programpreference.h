#pragma once

#include "nuclides/rnxindex.h"
#include "units/units.h"

#include <QString>

#include <functional>
#include <vector>

namespace kav {

// The page sets the options dialog can be opened with.
enum TQzProgramOptionsDialogType : std::uint8_t {
    poGeneral, poVESKDataDir, poMixtureUnits, poDPUIUnits, poDPUMUnits
};

// The settings that outlive a run: data folder, unit choices of the three dose views, the
// whole-days flag of the bioassay view, saving at exit and first-run state. Backed by an INI
// file beside the executable, named after it; each setting is declared once, in a table.
class TQzProgramPreference {
public:
    using TNotifyEvent = std::function<void(TQzProgramPreference* sender)>;
    // Shows the options dialog on a preferences object; true when the user accepted it.
    using TOptionsDialog = std::function<bool(TQzProgramPreference&, TQzProgramOptionsDialogType)>;

    // For the executable at the given path; reads its INI file.
    explicit TQzProgramPreference(const QString& executablePath);

    void Read();
    // Stores the settings in the INI file, keeping everything else it holds; false when the file
    // could not be read whole (it is then left alone) or not be written.
    bool Write() const;
    void RestoreDefaultValues();
    void Assign(const TQzProgramPreference& other);
    bool CheckIniExists() const;
    // Opens the options dialog the user interface gives, on these preferences; when the user
    // accepts it OnExecEditDlg hears of it. False when cancelled or when there is no dialog.
    bool ExecEditDlg(TQzProgramOptionsDialogType options, const TOptionsDialog& dialog);

    // Data folder: SetQVDDir falls back to the default folder, then to the executable's folder.
    bool CheckDataFiles() const;
    // The nuclides of an index that have a data file, each with its node, in periodic-table order.
    void GetRNList(const TRNXindex& index, TRNXStringList& list) const;
    void SetQVDDir(const QString& value);
    const QString& QVDDir() const { return FQVDDir; }
    QString IniFileName() const;
    // The file the mixture view's rows are kept in between runs, beside the preferences file.
    QString MixtureFileName() const;

    const QString& StartUpDir() const { return FStartUpDir; }
    const QString& ExeName() const { return FExeName; }

    bool AutoSave() const { return FAutoSave; }
    void SetAutoSave(bool value) { FAutoSave = value; }
    bool NotFirstRun() const { return FNotFirstRun; }
    void SetNotFirstRun(bool value);
    bool DPUMIntDays() const { return FDPUMIntDays; }
    void SetDPUMIntDays(bool value) { FDPUMIntDays = value; }

    TQzActivityUnit MixtureActivityUnit() const { return FMixtureActivityUnit; }
    void SetMixtureActivityUnit(TQzActivityUnit value);
    TQzActivityUnit DPUMContentActivityUnit() const { return FDPUMContentActivityUnit; }
    void SetDPUMContentActivityUnit(TQzActivityUnit value);
    TQzActivityUnit DPUMIntakeActivityUnit() const { return FDPUMIntakeActivityUnit; }
    void SetDPUMIntakeActivityUnit(TQzActivityUnit value);
    TQzActivityUnit DPUIActivityUnit() const { return FDPUIActivityUnit; }
    void SetDPUIActivityUnit(TQzActivityUnit value);
    TQzDoseUnit MixtureDoseUnit() const { return FMixtureDoseUnit; }
    void SetMixtureDoseUnit(TQzDoseUnit value);
    TQzDoseUnit DPUMDoseUnit() const { return FDPUMDoseUnit; }
    void SetDPUMDoseUnit(TQzDoseUnit value);
    TQzDoseUnit DPUIDoseUnit() const { return FDPUIDoseUnit; }
    void SetDPUIDoseUnit(TQzDoseUnit value);
    TQzTimeUnit DPUMTimeUnit() const { return FDPUMTimeUnit; }
    void SetDPUMTimeUnit(TQzTimeUnit value);

    const TNotifyEvent& OnExecEditDlg() const { return FOnExecEditDlg; }
    void SetOnExecEditDlg(TNotifyEvent handler) { FOnExecEditDlg = std::move(handler); }

    // The units the preferences accept for each kind of field.
    static const TQzActivityUnits AcceptedActivityUnits;
    static const TQzDoseUnits AcceptedDoseUnits;
    static const TQzTimeUnits AcceptedTimeUnits;

private:
    struct Setting;
    // Every setting the INI file keeps, in the order of the file.
    static const std::vector<Setting>& Settings();
    QString DefaultQVDDir() const;

    bool FAutoSave = false;
    QString FStartUpDir;
    QString FExeName;
    QString FQVDDir;
    TQzActivityUnit FMixtureActivityUnit = au_Bq;
    TQzActivityUnit FDPUMContentActivityUnit = au_Bq;
    TQzActivityUnit FDPUMIntakeActivityUnit = au_Bq;
    TQzActivityUnit FDPUIActivityUnit = au_Bq;
    TQzDoseUnit FMixtureDoseUnit = du_Sv;
    TQzDoseUnit FDPUMDoseUnit = du_Sv;
    TQzDoseUnit FDPUIDoseUnit = du_Sv;
    TQzTimeUnit FDPUMTimeUnit = tuDay;
    bool FDPUMIntDays = false;
    bool FNotFirstRun = false;
    TNotifyEvent FOnExecEditDlg;
};

} // namespace kav
