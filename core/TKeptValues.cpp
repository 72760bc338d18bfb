#include "core/TKeptValues.h"

namespace zz {

void TKeptValues::Apply(const TReceiverSettings& settings)
{
    const TReferences& references = settings.References;
    HeaderIndex.store(settings.Header);
    LFref.store(references.LFref);
    ASref.store(references.ASref);
    UTref.store(references.UTref);
    DDref.store(references.DDref);
    SAref.store(references.SAref);
    VDref.store(references.VDref);
    ROref.store(references.ROref);
    ACref.store(references.ACref);
    TSref.store(references.TSref);
    ProtocolIndex.store(settings.Protocol);
}

TReceiverSettings TKeptValues::Load() const
{
    TReceiverSettings settings;
    TReferences& references = settings.References;
    settings.Protocol = ProtocolIndex.load();
    settings.Header = HeaderIndex.load();
    references.LFref = LFref.load();
    references.ASref = ASref.load();
    references.UTref = UTref.load();
    references.DDref = DDref.load();
    references.SAref = SAref.load();
    references.VDref = VDref.load();
    references.ROref = ROref.load();
    references.ACref = ACref.load();
    references.TSref = TSref.load();
    return settings;
}

} // namespace zz
