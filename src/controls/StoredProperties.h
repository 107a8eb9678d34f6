#pragma once

#include "runtime/PropertyBag.h"

#include <QString>
#include <QVariant>

// A control lists its stored keys once, as calls io(key, field, missing-key default), and runs
// that list with a Reader to load and with a Writer to save, so that the two cannot drift apart.
namespace StoredProperties {

// Each key into its field; a missing key gives the default (taken as the field's type), a value
// that does not convert leaves the field as it was.
struct Reader {
    const runtime::PropertyBag &bag;

    template <class T, class D>
    void operator()(const char *key, T &field, const D &missing) const
    {
        bag.ReadInto(QString::fromLatin1(key), field, T(missing));
    }
};

// Each field under its key, unless it equals the default (taken as the field's type).
struct Writer {
    runtime::PropertyBag &bag;

    template <class T, class D>
    void operator()(const char *key, const T &field, const D &missing) const
    {
        bag.WriteProperty(QString::fromLatin1(key), QVariant::fromValue(field), QVariant::fromValue(T(missing)));
    }
};

}
