#pragma once

#include <QDialog>

namespace kav {

// The About box: what the viewer is, its version, and where its data come from.
class TVESKAboutBox : public QDialog {
public:
    static const QString VersionText;
    explicit TVESKAboutBox(QWidget* parent = nullptr);
};

} // namespace kav
