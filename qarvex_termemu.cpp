// The main module: written with the host binding.
