// Filled in with the country presets.
