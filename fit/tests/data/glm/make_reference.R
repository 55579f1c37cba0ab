# Writes the GLM fixtures of the lumifit tests: each model's folder with its $.mod and data file,
# and reference.txt with the deviance, residual df, and per design column (in lumifit's column
# order: variable lines in order, a factor's indicators by category, the intercept last) the
# coefficient and its standard error. The scale of gauss and gamma is deviance / residual df.
# Run once with R (Rscript make_reference.R in this folder); the tests read the stored files.
options(digits = 15)
ref <- file("reference.txt", "w")
model <- function(name, data, vars, family, link, fit, order) {
  dir.create(name, showWarnings = FALSE)
  write.table(data, file.path(name, paste0(name, ".dat")), row.names = FALSE, col.names = FALSE, quote = FALSE)
  lines <- c(paste("DATA:", name), paste("P:", ncol(data)), paste("N:", nrow(data)), "FORMAT: free",
             "MISSING-CODE: 99999", "INTERCEPT: yes", "'VARIABLE NAME' TYPE DF", vars,
             paste("FAMILY:", family), paste("LINK:", link), "THRESHOLDS: 1e-12 1e-12",
             "'MAX ITERS:' 50 50")
  writeLines(lines, file.path(name, "$.mod"))
  disp <- if (family %in% c("gaussian", "gamma")) deviance(fit) / df.residual(fit) else 1
  s <- summary(fit, dispersion = disp)$coefficients
  writeLines(sprintf("model %s %.15g %.15g %d", name, deviance(fit), df.residual(fit), length(order)), ref)
  for (j in order) writeLines(sprintf("%.15g %.15g", s[j, 1], s[j, 2]), ref)
}
ctl <- glm.control(epsilon = 1e-14, maxit = 100)

# Poisson, log link, two factors.
wb <- warpbreaks
f <- glm(breaks ~ wool + tension, family = poisson(link = "log"), data = wb, control = ctl)
model("warpbreaks", data.frame(wb$breaks, as.integer(wb$wool), as.integer(wb$tension)),
      c("breaks response 0", "wool factor 1", "tension factor 2"), "poisson", "logarithm", f, c(2, 3, 4, 1))

# Binomial, logit link, grouped with a denominator: beetle mortality after five hours of
# exposure to carbon disulphide (Bliss 1935).
dose <- c(1.6907, 1.7242, 1.7552, 1.7842, 1.8113, 1.8369, 1.8610, 1.8839)
number <- c(59, 60, 62, 56, 63, 59, 62, 60)
killed <- c(6, 13, 18, 28, 52, 53, 61, 60)
f <- glm(cbind(killed, number - killed) ~ dose, family = binomial(link = "logit"), control = ctl)
model("beetle", data.frame(dose, killed, number), c("dose predictor 1", "killed response 0", "number denom 0"),
      "binomial", "logit", f, c(2, 1))

# Binomial, logit link, three factors and a denominator: oesophageal cancer case-control
# study, grouped (Breslow and Day 1980); small fitted probabilities in the youngest group.
es <- esoph
tot <- es$ncases + es$ncontrols
ag <- factor(as.integer(es$agegp)); al <- factor(as.integer(es$alcgp)); tb <- factor(as.integer(es$tobgp))
f <- glm(cbind(es$ncases, es$ncontrols) ~ ag + al + tb, family = binomial(link = "logit"), control = ctl)
model("esoph", data.frame(es$ncases, tot, as.integer(ag), as.integer(al), as.integer(tb)),
      c("ncases response 0", "total denom 0", "agegp factor 5", "alcgp factor 3", "tobgp factor 3"),
      "binomial", "logit", f, c(2:12, 1))

# Gamma, inverse link: blood clotting times for two lots of thromboplastin against the log of
# the plasma concentration (McCullagh and Nelder 1989, section 8.4.2).
u <- c(5, 10, 15, 20, 30, 40, 60, 80, 100)
time <- c(118, 58, 42, 35, 27, 25, 21, 19, 18, 69, 35, 26, 21, 18, 16, 13, 12, 12)
lu <- log(rep(u, 2)); lot <- rep(1:2, each = 9)
f <- glm(time ~ lu + factor(lot), family = Gamma(link = "inverse"), control = ctl)
model("clotting", data.frame(time, sprintf("%.15g", lu), lot), c("time response 0", "lu predictor 1", "lot factor 1"),
      "gamma", "inverse", f, c(2, 3, 1))

# Gaussian, identity link, prior weights with one weight 0: stack loss of a nitric acid plant
# (Brownlee 1960).
sl <- stackloss
wt <- rep(c(1, 2, 3), 7); wt[21] <- 0
f <- glm(stack.loss ~ Air.Flow + Water.Temp + Acid.Conc., family = gaussian, data = sl, weights = wt, control = ctl)
model("stackloss", data.frame(sl$stack.loss, sl$Air.Flow, sl$Water.Temp, sl$Acid.Conc., wt),
      c("loss response 0", "air predictor 1", "water predictor 1", "acid predictor 1", "wt weight 0"),
      "gaussian", "identity", f, c(2, 3, 4, 1))
close(ref)
