DATA: esoph
P: 5
N: 88
FORMAT: free
MISSING-CODE: 99999
INTERCEPT: yes
'VARIABLE NAME' TYPE DF
ncases response 0
total denom 0
agegp factor 5
alcgp factor 3
tobgp factor 3
FAMILY: binomial
LINK: logit
THRESHOLDS: 1e-12 1e-12
'MAX ITERS:' 50 50
