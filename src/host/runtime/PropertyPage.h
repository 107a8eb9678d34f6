#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QVariant>
#include <QWidget>

namespace runtime {

// A property page as a form designer hosts it: a panel of fields that edits the controls the
// developer selected. The host part lives here: the selection (the first control is the one a
// page loads and writes), the changed flag that lets the designer offer Apply, and the report of
// a value a control refuses. The page itself fills its fields on SelectionChanged and writes them
// on ApplyChanges.
class PropertyPage : public QWidget {
    Q_OBJECT

public:
    explicit PropertyPage(const QString &caption, QWidget *parent = nullptr);

    QString Caption() const { return m_caption; }

    // The selected controls that still exist, in selection order.
    QList<QObject *> SelectedControls() const;
    // Takes a new selection and lets the page load it.
    void setSelectedControls(const QList<QObject *> &controls);

    bool Changed() const { return m_changed; }
    void setChanged(bool changed);

    // Writes the page's fields to the selection. The page reads as unchanged afterwards, unless a
    // control refused a value: that is reported to the developer, and the page stays changed.
    void Apply();

signals:
    void ChangedChanged(bool changed);

protected:
    virtual void SelectionChanged() = 0;
    virtual void ApplyChanges() = 0;

    // A property write on behalf of the page, by the property's name; a refused value (no such
    // property, or a value that does not fit it) is reported with "Invalid property value".
    bool WriteProperty(QObject *control, const char *name, const QVariant &value);

private:
    QString m_caption;
    QList<QPointer<QObject>> m_selected;
    bool m_changed = false;
    bool m_writeRefused = false;
};

} // namespace runtime
