#pragma once
// A four-field IPv4 address entry: each field 0 to 255, a dot between the fields,
// the focus moving on after three digits or a typed dot.
#include <QFrame>
#include <array>
#include <cstdint>

#include "res/Types.h"

class QLineEdit;

namespace tallyx {

class IpAddressCtrl : public QFrame {
    Q_OBJECT
public:
    explicit IpAddressCtrl(QWidget* parent = nullptr);

    bool IsBlank() const;
    int FieldCount() const;            // fields holding a value
    bool Complete() const { return FieldCount() == 4; }
    uint32_t GetAddress() const;       // first field in the most significant byte; empty reads 0
    void SetAddress(uint32_t address);
    void ClearAddress();
    void SetFocusFirst();
    AddressEntry Entry() const;
    QString Text() const;              // "192.168.1.100"; empty fields stay empty

    QLineEdit* Field(int index) const { return m_fields[size_t(index)]; }

signals:
    void AddressChanged();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void OnFieldEdited(int index);
    int IndexOf(QObject* field) const;
    int DotWidth() const;

    std::array<QLineEdit*, 4> m_fields{};
};

} // namespace tallyx
