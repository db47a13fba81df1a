// Filled in with the string table and dialog layouts.
