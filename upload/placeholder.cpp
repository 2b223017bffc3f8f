// Placeholder so the library has a source until the code lands.
