#pragma once

namespace korvat {

// Told of everything a data set does that a grid shows. Each call concerns
// the rows named, never the whole data set, so following a data set costs
// the same for every row however many came before.
class DataSetObserver {
public:
    virtual ~DataSetObserver() = default;
    virtual void dataSetOpened() { }
    virtual void dataSetClosed() { }
    virtual void rowsAdded(int /*first*/, int /*last*/) { }
    virtual void rowsRemoved(int /*first*/, int /*last*/) { }
    virtual void rowChanged(int /*row*/) { }
    virtual void currentRowChanged(int /*row*/) { }
    virtual void stateChanged() { }
    // The data set is going away; nothing may use it afterwards.
    virtual void dataSetDestroyed() { }
};

}  // namespace korvat
