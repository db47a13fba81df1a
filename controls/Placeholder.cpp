// Filled in with the controls.
