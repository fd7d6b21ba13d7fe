#pragma once

#include <QDialog>

namespace kav {

// The About box: what the viewer is, its version, and where its data come from.
class AboutBox : public QDialog {
public:
    static const QString VersionText;
    explicit AboutBox(QWidget* parent = nullptr);
};

} // namespace kav
