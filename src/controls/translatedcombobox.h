#pragma once

#include "base/language.h"

#include <QComboBox>

namespace kav {

// A drop-down list whose item texts depend on a language, and which can align its text in the
// closed box and in the drop-down list alike.
class TranslatedComboBox : public QComboBox {
public:
    explicit TranslatedComboBox(QWidget* parent = nullptr);

    UiLanguage language() const { return m_language; }
    void setLanguage(UiLanguage value);

    Qt::Alignment alignment() const { return m_alignment; }
    void setAlignment(Qt::Alignment value);
    Qt::Alignment dropDownAlignment() const { return m_dropDownAlignment; }
    void setDropDownAlignment(Qt::Alignment value);

protected:
    // Called after the language changed; item texts are rebuilt here.
    virtual void languageChanged() { }
    // Gives every item the drop-down alignment; subclasses call it after filling.
    void alignItems();
    // Copies what every box of the library shares: alignments, colours and font.
    void assignAppearanceTo(TranslatedComboBox& dest) const;
    void paintEvent(QPaintEvent* event) override;

private:
    UiLanguage m_language = UiLanguage::English;
    Qt::Alignment m_alignment = Qt::AlignLeft;
    Qt::Alignment m_dropDownAlignment = Qt::AlignLeft;
};

} // namespace kav
