#pragma once
// A link from one component to another that it does not own.
//
// The link forgets its target when the target is destroyed and then runs
// the step the owner gave for that (hide a button, unlink a menu), so a
// component never calls into a control that is gone.
#include <QMetaObject>
#include <QObject>
#include <QPointer>

#include <functional>

template <typename T>
class ControlLink
{
public:
    ControlLink() = default;
    ControlLink(const ControlLink &) = delete;
    ControlLink &operator=(const ControlLink &) = delete;
    ~ControlLink() { QObject::disconnect(m_gone); }

    T *get() const { return m_target.data(); }

    // Links `target`, or unlinks for null; `gone` runs in `context` once the
    // target is destroyed.
    void set(T *target, QObject *context, std::function<void()> gone)
    {
        QObject::disconnect(m_gone);
        m_target = target;
        if (target)
            m_gone = QObject::connect(target, &QObject::destroyed, context, std::move(gone));
    }
    void clear() { set(nullptr, nullptr, {}); }

private:
    QPointer<T> m_target;
    QMetaObject::Connection m_gone;
};
