#pragma once
// One way to plug an implementation in behind a seam (message boxes, dialogs, clock, pump, desktop,
// help, driver, wire trace). Each seam has a default, the real one or none, and at most one installed
// implementation on top of it; a scoped install puts back whatever was installed before it, so that
// tests, tools and program entries nest.

#include <utility>

template <class Interface> class Seam {
public:
    explicit Seam(Interface* fallback = nullptr) : m_fallback(fallback) {}
    Seam(const Seam&) = delete;
    Seam& operator=(const Seam&) = delete;

    // The installed implementation, else the default (nullptr for a seam that has none).
    Interface* Get() const { return m_installed ? m_installed : m_fallback; }
    // Installs `next` (nullptr: the default again) and returns what was installed.
    Interface* Exchange(Interface* next) { return std::exchange(m_installed, next); }

private:
    Interface* m_fallback;
    Interface* m_installed = nullptr;
};

// The seam of each interface, defined once in the module that owns it (declared beside the interface).
template <class Interface> Seam<Interface>& TheSeam();

// Installs `implementation` (not owned) for the lifetime of this object, then puts back what was
// installed before it.
template <class Interface> class ScopedInstall {
public:
    explicit ScopedInstall(Interface& implementation)
        : m_previous(TheSeam<Interface>().Exchange(&implementation)) {}
    ~ScopedInstall() { TheSeam<Interface>().Exchange(m_previous); }
    ScopedInstall(const ScopedInstall&) = delete;
    ScopedInstall& operator=(const ScopedInstall&) = delete;

    // What was installed before (nullptr: the default), for an implementation that passes calls on.
    Interface* Previous() const { return m_previous; }

private:
    Interface* m_previous;
};
