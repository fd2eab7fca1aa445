// placeholder until the backends land
