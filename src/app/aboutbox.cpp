#include "app/aboutbox.h"

#include <QDialogButtonBox>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace kav {

const QString AboutBox::VersionText = QStringLiteral(KAV_VERSION); // the project's version, from the build

AboutBox::AboutBox(QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(QStringLiteral("About"));
    setFixedSize(794, 611);
    setAttribute(Qt::WA_DeleteOnClose, false);

    auto* panel = new QFrame(this);
    panel->setFrameShape(QFrame::Panel);
    panel->setFrameShadow(QFrame::Sunken);

    auto* header = new QFrame(panel);
    header->setFrameShape(QFrame::StyledPanel);
    auto* headerLayout = new QVBoxLayout(header);
    auto addLine = [&](const QString& text, int pixelSize, bool bold) {
        auto* label = new QLabel(text, header);
        QFont f = label->font();
        f.setPixelSize(pixelSize);
        f.setBold(bold);
        label->setFont(f);
        label->setAlignment(Qt::AlignHCenter);
        headerLayout->addWidget(label);
    };
    addLine(QStringLiteral("KAV Data Viewer"), 24, true);
    addLine(QStringLiteral("Version ") + VersionText, 13, false);
    addLine(QStringLiteral("Electonic Annex accompanying the VESK"), 16, true);
    addLine(
        QStringLiteral("Reference dose coefficients and bioassay functions for occupational intakes of radionuclides"),
        13, false);

    auto* body = new QLabel(panel);
    body->setWordWrap(true);
    body->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    body->setTextFormat(Qt::RichText);
    body->setText(
        QStringLiteral("<p>This electronic annex and its viewer accompany the publication series on occupational "
                       "intakes of radionuclides. They let the reader look up, for one radionuclide at a time, the "
                       "values that the reference biokinetic and dosimetric models give.</p>"
                       "<p>The dataset was calculated for the reference worker. It holds dose per intake coefficients, "
                       "dose per content functions and reference bioassay functions for inhalation, ingestion and "
                       "direct uptake to blood. It includes the radioactive isotopes of the elements from hydrogen "
                       "to fermium listed in the decay data the radionuclide index is drawn from, whose physical "
                       "half-lives are at least 10 minutes. Aerosol sizes range from an activity median "
                       "thermodynamic diameter (AMTD) of 0.001 &micro;m to an activity median aerodynamic diameter "
                       "(AMAD) of 20 &micro;m.</p>"
                       "<p>Every data file carries a checksum and is checked when it is read: a damaged or altered "
                       "file is refused with a message rather than shown. We thank everyone who reviewed the models, "
                       "the program and its tables.</p>"));

    auto* footer1 = new QLabel(QStringLiteral("Values are given in base units: Sv/Bq, Bq/Bq and days."), panel);
    auto* footer2 = new QLabel(QStringLiteral("Units of display are chosen in each view."), panel);
    footer1->setAlignment(Qt::AlignHCenter);
    footer2->setAlignment(Qt::AlignHCenter);

    auto* panelLayout = new QVBoxLayout(panel);
    panelLayout->addWidget(header);
    panelLayout->addWidget(body, 1);
    panelLayout->addWidget(footer1);
    panelLayout->addWidget(footer2);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(panel, 1);
    layout->addWidget(buttons);
}

} // namespace kav
