# The peer of the lumifit benchmark: R's mgcv on the same claim-count data, three fixed-df
# regression splines (k = 5, fx = TRUE) and the region factor, Poisson with log link.
# Usage: Rscript mgcv_peer.R FOLDER (the folder written by bench_lumifit_rundata)
args <- commandArgs(TRUE)
suppressMessages(library(mgcv))
d <- read.table(file.path(args[1], "claims.dat"), col.names = c("claims", "age", "value", "distance", "region"))
d$region <- factor(d$region)
t <- system.time(g <- gam(claims ~ s(age, k = 5, fx = TRUE) + s(value, k = 5, fx = TRUE) +
                            s(distance, k = 5, fx = TRUE) + region, family = poisson, data = d))
cat(sprintf("mgcv gam fit:  %.2f s wall, %.2f s CPU (reading not counted), deviance %.2f\n",
            t[["elapsed"]], t[["user.self"]] + t[["sys.self"]], deviance(g)))
