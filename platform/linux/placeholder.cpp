// replaced by the Linux implementations
