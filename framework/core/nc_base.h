// The root of every class of the extension, and the iteration interface of its collections.
#pragma once

class __NCBase {
public:
    __NCBase() = default;
    __NCBase(const __NCBase&) = default;
    __NCBase& operator=(const __NCBase&) = default;

    // A constant text naming the class; a class that declares none answers its ancestor's.
    virtual const char* TypeName() const;
    virtual ~__NCBase() = default;
    // True when other answers the very same class-name constant (compared by identity).
    virtual bool IsSameType(const __NCBase* other) const;
};

// What the collection walks call back. Visit and VisitIndexed answer true to go on; Matches
// answers true for the item sought.
class NCIterationHandler {
public:
    virtual bool Visit(__NCBase* item) = 0;
    virtual bool VisitIndexed(__NCBase* item, int index) = 0;
    virtual bool Matches(__NCBase* item) = 0;

protected:
    ~NCIterationHandler() = default;
};

class __NCIteratorBase : public __NCBase {
public:
    virtual int VisitAll(NCIterationHandler& handler) = 0;
    virtual __NCBase* FindFirst(NCIterationHandler& handler) = 0;
    virtual int VisitAllIndexed(NCIterationHandler& handler) = 0;
};
