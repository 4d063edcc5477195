// Module entry; replaced as the module grows.
