// placeholder, replaced by the module frame
