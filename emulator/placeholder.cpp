// replaced by the subsystem's sources
