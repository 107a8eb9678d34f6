#pragma once

#include "runtime/PropertyBag.h"

#include <QString>
#include <QVariant>

#include <limits>
#include <type_traits>

// A control lists its stored keys once, as calls io(key, field, missing-key default), and runs
// that list with a Reader to load and with a Writer to save, so that the two cannot drift apart.
namespace StoredProperties {

// Whether a value fits a 16-bit property of the design; a set with one that does not overflows
// and is skipped.
inline bool fitsInt16(int value)
{
    return value >= std::numeric_limits<qint16>::min() && value <= std::numeric_limits<qint16>::max();
}

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

// Each field set to its missing-key default: a freshly placed control, where the two agree.
struct Fresh {
    template <class T, class D>
    void operator()(const char *, T &field, const D &missing) const
    {
        field = T(missing);
    }
};

// A missing-key default for a key that is written even when it holds that value.
template <class T>
struct WrittenAlways {
    T missing;
};

// For a control that loads every key through the property's own set operation, so that each set
// repaints and marks its key: the list names the read and the set operation instead of a field,
// as io(key, &C::Get, &C::setGet, missing-key default).
template <class C>
struct SetterReader {
    const runtime::PropertyBag &bag;
    C &control;

    template <class Get, class Set, class D>
    void operator()(const char *key, Get get, Set set, const D &missing) const
    {
        using T = std::decay_t<decltype((control.*get)())>;
        const QVariant missingValue = QVariant::fromValue(T(missingOf(missing)));
        (control.*set)(bag.ReadProperty(QString::fromLatin1(key), missingValue).template value<T>());
    }

private:
    template <class D>
    static const D &missingOf(const D &missing) { return missing; }
    template <class T>
    static const T &missingOf(const WrittenAlways<T> &always) { return always.missing; }
};

template <class C>
struct GetterWriter {
    runtime::PropertyBag &bag;
    const C &control;

    template <class Get, class Set, class D>
    void operator()(const char *key, Get get, Set, const D &missing) const
    {
        using T = std::decay_t<decltype((control.*get)())>;
        bag.WriteProperty(QString::fromLatin1(key), QVariant::fromValue((control.*get)()),
                          QVariant::fromValue(T(missing)));
    }

    template <class Get, class Set, class T>
    void operator()(const char *key, Get get, Set, const WrittenAlways<T> &) const
    {
        bag.WriteProperty(QString::fromLatin1(key), QVariant::fromValue((control.*get)()));
    }
};

}
