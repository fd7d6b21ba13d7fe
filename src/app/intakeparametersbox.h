#pragma once

#include "app/chosennuclide.h"
#include "base/notice.h"
#include "data/dosedata.h"

#include <QGroupBox>

#include <functional>
#include <optional>

class QComboBox;
class QLabel;

namespace kav {

class ApplicationContext;
class BioassayData;
class NuclideChooser;
class NuclideIdentity;

// The intake a bioassay page is about: the nuclide taken in, the route, the material and the
// particle size, with the data object the nuclide is loaded into. The materials follow the route
// and the sizes the material; a material that is not an aerosol has no size.
class IntakeParametersBox : public QGroupBox {
public:
    // The program's shared state outlives the box. The parts are found by their object names:
    // "intakeChooser", "routeBox", "materialBox", "sizeBox".
    explicit IntakeParametersBox(ApplicationContext& context, QWidget* parent = nullptr);

    // The data object the chosen nuclide is loaded into; the main window gives it.
    void setBioassayData(BioassayData* data) { m_bioassayData = data; }
    BioassayData* bioassayData() const { return m_bioassayData; }
    NuclideChooser* chooser() const { return m_chooser; }
    QLabel* sizeLabel() const { return m_sizeLabel; }
    QComboBox* sizeBox() const { return m_sizeBox; }
    // The material box's width, in characters of its list's texts.
    void setMaterialWidth(int characters);

    // A nuclide was loaded (or could not be: the data object is then empty), before changed.
    std::function<void()> nuclideLoaded;
    // The route, material or size changed, or a nuclide was loaded.
    std::function<void()> changed;

    // Loads the nuclide into the data object and offers its materials.
    void loadNuclide(const NuclideIdentity& rnx);
    // The materials of the loaded nuclide for the chosen route, the first chosen.
    void fillMaterials();
    // Takes another box's intake: its nuclide, then its route, material and size.
    void chooseLike(const IntakeParametersBox& other);

    IntakeRoute route() const;
    int material() const;
    // The particle size's index, 0 when the material has no size.
    int amadIndex() const;
    QString routeText() const;
    QString materialText() const;
    QString sizeText() const;
    // The nuclide whose data are loaded, or the one the chooser offers when none is.
    QString nuclideText() const;

private:
    void fillSizes();
    void notifyChanged();

    ApplicationContext& m_context;
    NuclideChooser* m_chooser = nullptr;
    QComboBox* m_routeBox = nullptr;
    QComboBox* m_materialBox = nullptr;
    QComboBox* m_sizeBox = nullptr;
    QLabel* m_sizeLabel = nullptr;
    BioassayData* m_bioassayData = nullptr;
    std::optional<ChosenNuclideLoader> m_loader;
    Notice<const NuclideIdentity&>::Connection m_followingChooser;
};

} // namespace kav
